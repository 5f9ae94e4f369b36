#include "widgets/radio_group.h"

#include <QButtonGroup>
#include <QRadioButton>

namespace keyrook {

QString TRadioGroup::storedValueRefusal(const QString& propName, const QVariant& value) const {
    if (propName == QLatin1String("ItemIndex")) {
        const qint64 n = value.toLongLong();
        if (n < -1 || n >= count())
            return QStringLiteral("選択番号 %1 が一覧（%2 個）の範囲外です").arg(n).arg(count());
    } else if (propName == QLatin1String("Items")) {
        // A longer list is damage, not a setting.
        const qsizetype n = value.toStringList().size();
        if (maxItems_ > 0 && n > maxItems_)
            return QStringLiteral("項目が %1 個あります（%2 個まで）").arg(n).arg(maxItems_);
    }
    return {};
}

TRadioGroup::TRadioGroup(QWidget* parent) : QGroupBox(parent), group_(new QButtonGroup(this)) {
    group_->setExclusive(false);  // exclusivity is ours, so "no selection" can be shown
    connect(group_, &QButtonGroup::idClicked, this, [this](int id) {
        index_ = id;
        syncChecks();
        emit clicked(id);
    });
}

void TRadioGroup::setLayoutMetrics(int top, int left, int rowHeight) {
    top_ = top;
    left_ = left;
    rowHeight_ = rowHeight;
    rebuild();
}

void TRadioGroup::setItemIndex(int index) {
    index_ = index;
    syncChecks();
}

void TRadioGroup::setItems(const QStringList& items) {
    if (items == items_) return;
    items_ = items;
    rebuild();
}

QRadioButton* TRadioGroup::button(int index) const {
    return index >= 0 && index < buttons_.size() ? buttons_[index] : nullptr;
}

void TRadioGroup::rebuild() {
    setUpdatesEnabled(false);
    for (auto* b : buttons_) {
        group_->removeButton(b);
        delete b;
    }
    buttons_.clear();
    for (int i = 0; i < items_.size(); ++i) {
        auto* b = new QRadioButton(items_[i], this);
        b->setAutoExclusive(false);
        b->setGeometry(left_, top_ + i * rowHeight_, width() - left_ - 4, rowHeight_);
        b->setFocusPolicy(Qt::NoFocus);
        group_->addButton(b, i);
        b->show();
        buttons_.push_back(b);
    }
    syncChecks();
    setUpdatesEnabled(true);
}

void TRadioGroup::syncChecks() {
    for (int i = 0; i < buttons_.size(); ++i) buttons_[i]->setChecked(i == index_);
}

}  // namespace keyrook
