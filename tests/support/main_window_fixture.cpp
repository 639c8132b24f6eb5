#include "main_window_fixture.h"

#include <QFile>

namespace huelinx::testing {

void MainWindowTest::SetUp() {
    previousDir_ = QDir::currentPath();
    dir_ = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(dir_->isValid());
    QDir::setCurrent(dir_->path());
    platform.setUnexpectedHandler(
        [](const QString& what) { ADD_FAILURE() << "unexpected " << what.toStdString(); });
}

void MainWindowTest::TearDown() {
    end();
    QDir::setCurrent(previousDir_);
}

void MainWindowTest::writeSettings(const QByteArray& contents) {
    QFile file("tzm.cfg");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

void MainWindowTest::make(bool withData) {
    end();
    std::vector<std::string> folders;
    if (withData) folders.push_back(HUELINX_DATA_DIR);
    app = std::make_unique<Application>(platform, folders);
    form = &app->mainWindow();
}

void MainWindowTest::end() {
    form = nullptr;
    app.reset();
}

bool MainWindowTest::start(bool withData) {
    make(withData);
    const bool started = form->start();
    platform.clear();
    return started;
}

void MainWindowTest::enter(QLineEdit* box, const QString& text) {
    box->setText(text);
    QTest::keyClick(box, Qt::Key_Return);
}

void MainWindowTest::typeMunsell(const QString& hue, const QString& value, const QString& chroma) {
    ui().munsellBoxes[0]->setText(hue);
    ui().munsellBoxes[1]->setText(value);
    enter(ui().munsellBoxes[2], chroma);
}

QString MainWindowTest::text(const QLineEdit* box) {
    return box->text();
}

std::vector<QString> MainWindowTest::messages() const {
    std::vector<QString> texts;
    for (const auto& shown : platform.shown())
        if (shown.kind == ScriptedPlatform::Shown::Message) texts.push_back(shown.text);
    return texts;
}

QString MainWindowTest::readFile(const QString& name) const {
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) return QString();
    return QString::fromLatin1(file.readAll());
}

} // namespace huelinx::testing
