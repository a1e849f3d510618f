// A Qt line edit in a window of its own, for typing tests and benchmarks:
//   klt_line_edit_target TITLE
// When Return is pressed it writes its text, in UTF-8, and a newline to standard output and ends.
#include <QApplication>
#include <QLineEdit>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: klt_line_edit_target TITLE\n", stderr);
        return 2;
    }
    QLineEdit edit;
    edit.setMaxLength(1 << 20);
    edit.setWindowTitle(QString::fromLocal8Bit(argv[1]));
    edit.resize(600, 40);
    QObject::connect(&edit, &QLineEdit::returnPressed, [&] {
        const QByteArray text = edit.text().toUtf8();
        std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
        QApplication::quit();
    });
    edit.show();
    return QApplication::exec();
}
