#include "MessageBox.h"

#include <QTextBoundaryFinder>

namespace message_box {

int ask(QMessageBox &box, const QString &message)
{
    box.setText(wrappable(message, box.fontMetrics()));
    return box.exec();
}

// A run of text with no blank, slash or hyphen to wrap at gets a place to
// wrap once it is as wide as the box's text may be: between whole
// characters, never inside a surrogate pair or before a combining mark.
QString wrappable(const QString &text, const QFontMetrics &metrics)
{
    constexpr int kWidest = 360;
    QString result;
    int run = 0;
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, text);
    for (qsizetype start = 0, end = characters.toNextBoundary(); end != -1;
         start = end, end = characters.toNextBoundary()) {
        const QStringView character = QStringView(text).mid(start, end - start);
        const QChar first = character.front();
        const int width = metrics.horizontalAdvance(character.toString());
        if (first.isSpace() || first == u'/' || first == u'-') {
            run = 0;
        } else if (run + width > kWidest) {
            result += QChar(0x200B);
            run = 0;
        }
        result += character;
        run += first.isSpace() ? 0 : width;
    }
    return result;
}

} // namespace message_box
