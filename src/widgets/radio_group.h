// A framed group of radio buttons addressed by Items and ItemIndex. The index is kept as set,
// even past the end of the list, so a stored selection survives until its stored list arrives.
#pragma once

#include <QGroupBox>
#include <QStringList>
#include <QVariant>
#include <QVector>

class QRadioButton;
class QButtonGroup;

namespace keyrook {

class TRadioGroup : public QGroupBox {
    Q_OBJECT
    Q_PROPERTY(int ItemIndex READ itemIndex WRITE setItemIndex)
    Q_PROPERTY(QStringList Items READ items WRITE setItems)
    // The longest list a stored setting may give (0: no limit); a longer one is refused on load.
    Q_PROPERTY(int MaxItems READ maxItems WRITE setMaxItems)
public:
    explicit TRadioGroup(QWidget* parent = nullptr);

    int itemIndex() const { return index_; }
    void setItemIndex(int index);
    QStringList items() const { return items_; }
    void setItems(const QStringList& items);
    int count() const { return static_cast<int>(items_.size()); }
    int maxItems() const { return maxItems_; }
    void setMaxItems(int count) { maxItems_ = count; }
    QRadioButton* button(int index) const;

    // Why a stored value cannot be taken, empty when it can: a stored selection must name an
    // entry of the list (or none), a stored list may be no longer than MaxItems.
    QString storedValueRefusal(const QString& propName, const QVariant& value) const;

    // Spacing of the buttons inside the frame.
    void setLayoutMetrics(int top, int left, int rowHeight);

signals:
    void clicked(int index);  // the user chose an entry

private:
    void rebuild();
    void syncChecks();
    QStringList items_;
    int index_ = -1;
    int maxItems_ = 0;
    QVector<QRadioButton*> buttons_;
    QButtonGroup* group_;
    int top_ = 16, left_ = 8, rowHeight_ = 20;
};

}  // namespace keyrook
