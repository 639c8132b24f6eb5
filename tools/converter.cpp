#include "tools/converter.h"

#include "mainwindow/entry_box.h"
#include "mainwindow/form1.h"
#include "platform/scripted_platform.h"
#include "text/number_read.h"

#include <QCheckBox>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>

#include <functional>
#include <istream>
#include <map>
#include <optional>
#include <ostream>

namespace huelinx {

const char* const converterHeader = "hue,value,chroma,X,Y,Z,x,y,L,a,b,R,G,B,C,M,Yc,K,message";

namespace {

const char* const usage =
    "usage: huelinx-convert [options] KIND VALUES...\n"
    "       huelinx-convert [options] --csv < lines\n"
    "\n"
    "Converts a colour as the Huelinx window does and prints a header line and one\n"
    "CSV line: "
    "hue,value,chroma,X,Y,Z,x,y,L,a,b,R,G,B,C,M,Yc,K,message\n"
    "\n"
    "KIND and VALUES:\n"
    "  munsell HUE VALUE CHROMA   e.g. munsell 5R 5 10\n"
    "  xyz X Y Z                  white Y = 100\n"
    "  xy x y Y                   chromaticity and luminance\n"
    "  lab L A B\n"
    "  rgb R G B                  0..255\n"
    "  cmyk C M Y K               percentages\n"
    "\n"
    "--csv reads lines KIND,A,B,C[,D] from standard input and writes one line each;\n"
    "a line that can't be used is reported on standard error with its number.\n"
    "\n"
    "Options:\n"
    "  --illuminant C|D50|D65     illuminant C 2 degree (default), D5000, D65 10 degree\n"
    "  --pwd                      value 10 for Y = 100\n"
    "  --gamma G                  display gamma, 1 to 3 (default 2.2)\n"
    "  --white-balance P          display white level, 50 to 100 (default 100)\n"
    "  --help                     this text\n";

struct Options {
    int illuminant = 0;
    bool pwd = false;
    QString gamma;
    std::optional<int> whiteBalance;
    bool csv = false;
    QStringList colour;
};

// Parses the command line; an empty error means it can be used.
QString parseOptions(const QStringList& args, Options& options) {
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--pwd") {
            options.pwd = true;
        } else if (a == "--csv") {
            options.csv = true;
        } else if (a == "--illuminant") {
            const QString name = hasValue ? args[++i].toUpper() : QString();
            const std::map<QString, int> names{{"C", 0}, {"D50", 1}, {"D5000", 1}, {"D65", 2}};
            if (!names.count(name)) return "--illuminant needs C, D50 or D65";
            options.illuminant = names.at(name);
        } else if (a == "--gamma") {
            const auto g = hasValue ? strictNumber(args[++i].toStdString()) : std::nullopt;
            if (!g || *g < 1 || *g > 3) return "--gamma needs a number from 1 to 3";
            options.gamma = args[i];
        } else if (a == "--white-balance") {
            const auto p = hasValue ? strictNumber(args[++i].toStdString()) : std::nullopt;
            if (!p || *p < 50 || *p > 100 || *p != roundHalfEven(*p))
                return "--white-balance needs a whole number from 50 to 100";
            options.whiteBalance = static_cast<int>(*p);
        } else if (a.startsWith("--")) {
            return "unknown option " + a;
        } else {
            options.colour << a;
        }
    }
    if (options.csv && !options.colour.isEmpty())
        return "--csv takes its colours from standard input";
    if (!options.csv && options.colour.isEmpty()) return "no colour given";
    return {};
}

// One field of the output, quoted when it holds a comma, a quote or a line end.
QString csvField(const QString& text) {
    if (!text.contains(',') && !text.contains('"') && !text.contains('\n') && !text.contains('\r'))
        return text;
    QString quotedText = text;
    quotedText.replace("\"", "\"\"");
    return "\"" + quotedText + "\"";
}

// One kind of colour: the boxes its values go into and the entry that converts them.
struct Kind {
    std::vector<QLineEdit*> boxes;
    std::function<void()> entry;
    bool textFirst; // the first value is a hue text, not a number
};

class Converter {
  public:
    Converter(Form1& form, ScriptedPlatform& platform) : form_(form), platform_(platform) {
        Form1& f = form;
        kinds_ = {
            {"munsell", {{f.Text12[0], f.Text12[1], f.Text12[2]}, [&f] { f.vadoro(); }, true}},
            {"xyz", {{f.Text11[0], f.Text11[1], f.Text11[2]}, [&f] { f.xyzEntered(); }, false}},
            {"xy", {{f.Text18[0], f.Text18[1], f.Text11[1]}, [&f] { f.xyEntered(); }, false}},
            {"lab", {{f.Text15[0], f.Text15[1], f.Text15[2]}, [&f] { f.labEntered(); }, false}},
            {"rgb", {{f.Text1[0], f.Text1[1], f.Text1[2]}, [&f] { f.Command6_Click(); }, false}},
            {"cmyk", {{f.Text2[0], f.Text2[1], f.Text2[2], f.Text2[3]}, [&f] { f.cmyk(); }, false}},
        };
    }

    void apply(const Options& o) {
        form_.Check1->setChecked(o.pwd);
        if (o.whiteBalance) form_.VScroll7->setValue(*o.whiteBalance);
        if (!o.gamma.isEmpty()) form_.Text5->setText(o.gamma);
        form_.Option1[o.illuminant]->setChecked(true);
        form_.Option1_Click(o.illuminant);
    }

    // Converts one colour; the CSV line, or an error for a colour it can't use.
    bool convert(const QStringList& colour, QString& line, QString& error);

  private:
    QString row() const;
    Form1& form_;
    ScriptedPlatform& platform_;
    std::map<QString, Kind> kinds_;
};

bool Converter::convert(const QStringList& colour, QString& line, QString& error) {
    const QString name = colour.value(0).trimmed().toLower();
    const auto kind = kinds_.find(name);
    if (kind == kinds_.end()) {
        error = "unknown kind \"" + colour.value(0) + "\"";
        return false;
    }
    const auto& boxes = kind->second.boxes;
    if (colour.size() - 1 != static_cast<int>(boxes.size())) {
        error = QString("%1 needs %2 values, found %3")
                    .arg(name)
                    .arg(boxes.size())
                    .arg(colour.size() - 1);
        return false;
    }
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const QString value = colour[static_cast<int>(i) + 1].trimmed();
        if (!(i == 0 && kind->second.textFirst) && !strictNumber(value.toStdString())) {
            error = "\"" + value + "\" is not a number";
            return false;
        }
        boxes[i]->setText(value);
    }
    platform_.clear();
    kind->second.entry();
    if (form_.entryRejected()) {
        error = platform_.shown().empty() ? QString("refused") : platform_.shown().back().text;
        return false;
    }
    line = row();
    return true;
}

QString Converter::row() const {
    QStringList fields;
    for (auto* box : form_.Text12)
        fields << box->text();
    for (auto* box : form_.Text11)
        fields << box->text();
    for (auto* box : form_.Text18)
        fields << box->text();
    for (auto* box : form_.Text15)
        fields << box->text();
    for (auto* box : form_.Text1)
        fields << box->text();
    for (auto* box : form_.Text2)
        fields << box->text();
    QStringList messages;
    if (!form_.Label19->text().isEmpty()) messages << form_.Label19->text();
    for (const auto& shown : platform_.shown())
        if (shown.kind == ScriptedPlatform::Shown::Message) messages << shown.text;
    if (form_.outsideMunsellData()) messages << "Outside the Munsell data";
    fields << messages.join("; ");
    for (QString& field : fields)
        field = csvField(field);
    return fields.join(',');
}

int convertLines(Converter& converter, std::istream& in, std::ostream& out, std::ostream& err) {
    int status = 0;
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        const QString line = QString::fromStdString(text).trimmed();
        if (line.isEmpty()) continue;
        QString result, error;
        if (converter.convert(line.split(','), result, error)) {
            out << result.toStdString() << "\n";
        } else {
            err << "line " << number << ": " << error.toStdString() << "\n";
            status = 1;
        }
    }
    return status;
}

} // namespace

int runConverter(const QStringList& args, const QStringList& dataFolders, std::istream& in,
                 std::ostream& out, std::ostream& err) {
    if (args.contains("--help") || args.contains("-h")) {
        out << usage;
        return 0;
    }
    Options options;
    const QString problem = parseOptions(args, options);
    if (!problem.isEmpty()) {
        err << "huelinx-convert: " << problem.toStdString() << "\n" << usage;
        return 2;
    }
    ScriptedPlatform platform;
    Program program(platform);
    program.dataFolders = dataFolders;
    Form1 form(program);
    if (!form.Form_Load()) {
        err << "huelinx-convert: " << platform.shown().back().text.toStdString() << "\n";
        return 1;
    }
    // Nothing is drawn: the boxes need no text shaping, which is most of the
    // cost of setting their texts.
    QFont font = form.font();
    font.setStyleStrategy(QFont::PreferNoShaping);
    form.setFont(font);
    Converter converter(form, platform);
    converter.apply(options);
    out << converterHeader << "\n";
    if (options.csv) return convertLines(converter, in, out, err);
    QString line, error;
    if (!converter.convert(options.colour, line, error)) {
        err << "huelinx-convert: " << error.toStdString() << "\n";
        return 1;
    }
    out << line.toStdString() << "\n";
    return 0;
}

} // namespace huelinx
