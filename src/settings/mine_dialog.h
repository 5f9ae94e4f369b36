// "独自流式追加": replaces the spelling list of one variant group.
#pragma once

#include <QDialog>

class QComboBox;
class QPlainTextEdit;

namespace keyrook {

class TSetting;
class TRadioGroup;
class Dialogs;

class TMine : public QDialog {
    Q_OBJECT
public:
    TMine(TSetting& setting, Dialogs& dialogs, QWidget* parent = nullptr);

    // Fills the kind list from the settings window's groups.
    void FormShow();
    void cmbKindChange();
    void btnOKClick();

    QComboBox* cmbKind() const { return cmbKind_; }
    QPlainTextEdit* memEdit() const { return memEdit_; }

private:
    TRadioGroup* chosenGroup() const;
    TSetting& setting_;
    Dialogs& dialogs_;
    QComboBox* cmbKind_;
    QPlainTextEdit* memEdit_;
};

}  // namespace keyrook
