// What the common dialogs remember between uses, kept as properties so the settings store them:
// a file dialog's last file name and a font dialog's font.
#pragma once

#include <QObject>
#include <QString>

#include "widgets/ini_save_props.h"

namespace keyrook {

class TFileDialog : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString FileName READ fileName WRITE setFileName)
public:
    explicit TFileDialog(QObject* parent = nullptr) : QObject(parent) {}
    QString fileName() const { return fileName_; }
    void setFileName(const QString& name) { fileName_ = name; }

private:
    QString fileName_;
};

class TFontDialog : public QObject {
    Q_OBJECT
    Q_PROPERTY(keyrook::TFont* Font READ font)
public:
    explicit TFontDialog(QObject* parent = nullptr) : QObject(parent), font_(new TFont(this)) {}
    TFont* font() const { return font_; }

private:
    TFont* font_;
};

}  // namespace keyrook
