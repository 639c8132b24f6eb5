#include "form1_fixture.h"

#include <QFile>

namespace huelinx::testing {

void Form1Test::SetUp() {
    previousDir_ = QDir::currentPath();
    dir_ = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(dir_->isValid());
    QDir::setCurrent(dir_->path());
    platform.setUnexpectedHandler(
        [](const QString& what) { ADD_FAILURE() << "unexpected " << what.toStdString(); });
}

void Form1Test::TearDown() {
    form.reset();
    program.reset();
    QDir::setCurrent(previousDir_);
}

void Form1Test::writeSettings(const QByteArray& contents) {
    QFile file("tzm.cfg");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

bool Form1Test::start(bool withData) {
    form.reset();
    program = std::make_unique<Program>(platform);
    if (withData) program->dataFolders << HUELINX_DATA_DIR;
    form = std::make_unique<Form1>(*program);
    const bool started = form->Form_Load();
    platform.clear();
    return started;
}

void Form1Test::enter(QLineEdit* box, const QString& text) {
    box->setText(text);
    QTest::keyClick(box, Qt::Key_Return);
}

QString Form1Test::text(const QLineEdit* box) {
    return box->text();
}

std::vector<QString> Form1Test::messages() const {
    std::vector<QString> texts;
    for (const auto& shown : platform.shown())
        if (shown.kind == ScriptedPlatform::Shown::Message) texts.push_back(shown.text);
    return texts;
}

QString Form1Test::readFile(const QString& name) const {
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) return QString();
    return QString::fromLatin1(file.readAll());
}

} // namespace huelinx::testing
