#pragma once

#include <QComboBox>

class PickSearch;
class QStyleOptionComboBox;

// A drop-down list to pick from, as wide as the form gives it. Typing part
// of a label or an entry's hex code, in the closed list or the open one,
// opens a search under it (PickSearch), whose pick is the user's, as one
// from the list's own popup. A label too long for the list is cut with
// an ellipsis, and the current entry's whole label is the tooltip. When the
// list opens, it is made wide enough for whole labels, including entries
// added since. The wheel changes the pick only once the list has the
// keyboard focus, so that scrolling over the window never changes a pick by
// accident. Keys with Ctrl, Alt or Meta that the list does not need are
// left to the window.
class PickList : public QComboBox {
    Q_OBJECT

public:
    explicit PickList(QWidget *parent);

    void showPopup() override;
    // The current entry's label as the closed list shows it.
    [[nodiscard]] QString shownText() const;
    // Marks the list with a frame in the palette's colour for visited links
    // (as All Shops marks the cells that differ), unlike the focus frame,
    // and adds note to its tooltip; an empty note takes the mark away.
    void setMark(const QString &note);
    [[nodiscard]] const QString &mark() const { return m_mark; }

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void search(const QString &typed);
    void pick(int entry);
    [[nodiscard]] QString elided(const QStyleOptionComboBox &option) const;

    PickSearch *m_search = nullptr; // made when first typed in
    QString m_mark;
};
