#include "settings/mine_dialog.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "base/services.h"
#include "problemsets/variant_table.h"
#include "settings/own_spellings.h"
#include "settings/setting_window.h"
#include "widgets/fixed_dialog.h"
#include "widgets/look.h"
#include "widgets/qt_services.h"
#include "widgets/radio_group.h"

namespace keyrook {

TMine::TMine(TSetting& setting, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), setting_(setting), dialogs_(dialogs) {
    fixedDialog(this, "Mine", "独自流式追加", kDialogFrame, QSize(168, 139), Qt::white, 12);

    auto* kindLabel = new QLabel("・追加したい種類", this);
    kindLabel->move(8, 6);
    cmbKind_ = new QComboBox(this);
    cmbKind_->setObjectName("cmbKind");
    cmbKind_->setGeometry(8, 22, 152, 20);
    cmbKind_->setEditable(false);
    auto* editLabel = new QLabel("・編集", this);
    editLabel->move(8, 46);
    memEdit_ = new QPlainTextEdit(this);
    memEdit_->setObjectName("memEdit");
    memEdit_->setGeometry(8, 62, 96, 70);
    auto* ok = new QPushButton("&OK", this);
    ok->setObjectName("btnOK");
    ok->setGeometry(110, 62, 50, 24);
    auto* cancel = new QPushButton("&Cancel", this);
    cancel->setObjectName("btnCancel");
    cancel->setGeometry(110, 92, 50, 24);
    connect(ok, &QPushButton::clicked, this, [this] { btnOKClick(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmbKind_, &QComboBox::currentIndexChanged, this, [this] { cmbKindChange(); });
    FormShow();
}

void TMine::FormShow() {
    cmbKind_->blockSignals(true);
    cmbKind_->clear();
    for (int entry = 0; entry < VariantTable::kGroupCount; ++entry)
        cmbKind_->addItem(setting_.RadioGroup(ownStyleGroupOfEntry(entry))->title());
    cmbKind_->setCurrentIndex(-1);
    cmbKind_->blockSignals(false);
    memEdit_->clear();
}

TRadioGroup* TMine::chosenGroup() const {
    int entry = cmbKind_->currentIndex();
    return entry < 0 ? nullptr : setting_.RadioGroup(ownStyleGroupOfEntry(entry));
}

void TMine::cmbKindChange() {
    if (TRadioGroup* g = chosenGroup()) memEdit_->setPlainText(g->items().join('\n'));
}

void TMine::btnOKClick() {
    TRadioGroup* g = chosenGroup();
    if (!g) return;  // no kind chosen: there is no list to replace
    std::vector<std::string> lines;
    for (const QString& line : memEdit_->toPlainText().split('\n')) {
        auto cp932 = toCp932(line);
        if (!cp932) {
            dialogs_.message("「" + line.toStdString() + "」にはShift-JISで表せない文字があります。");
            return;
        }
        lines.push_back(*cp932);
    }
    std::vector<std::string> list = ownSpellingList(lines);
    if (list.size() > kMaxSpellings) {
        dialogs_.message("綴りは1つのｸﾞﾙｰﾌﾟに" + std::to_string(kMaxSpellings) + "個までです。");
        return;
    }
    if (!list.empty()) {
        QStringList items;
        for (const auto& s : list) items << fromCp932(s);
        int index = selectionAfterReplace(g->itemIndex(), static_cast<int>(items.size()));
        g->setItems(items);
        g->setItemIndex(index);
    }
    accept();
}

}  // namespace keyrook
