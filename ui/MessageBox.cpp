#include "MessageBox.h"

namespace message_box {

int ask(QMessageBox &box, const QString &message)
{
    box.setText(wrappable(message, box.fontMetrics()));
    return box.exec();
}

// A run of text with no blank, slash or hyphen to wrap at gets a place to
// wrap once it is as wide as the box's text may be.
QString wrappable(const QString &text, const QFontMetrics &metrics)
{
    constexpr int kWidest = 360;
    QString result;
    int run = 0;
    for (const QChar c : text) {
        const int width = metrics.horizontalAdvance(c);
        if (c.isSpace() || c == u'/' || c == u'-') {
            run = 0;
        } else if (run + width > kWidest) {
            result += QChar(0x200B);
            run = 0;
        }
        result += c;
        run += c.isSpace() ? 0 : width;
    }
    return result;
}

} // namespace message_box
