#include "widgets/ini_save_props.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMetaProperty>
#include <QPalette>
#include <QSet>
#include <QWidget>

#include <cmath>
#include <map>
#include <stdexcept>

#include "base/cp932.h"
#include "base/files.h"
#include "widgets/radio_group.h"

namespace keyrook {
namespace {

QString fromCp932(const std::string& bytes) { return QString::fromStdString(cp932ToUtf8(bytes)); }
std::optional<std::string> toCp932(const QString& text) { return utf8ToCp932(text.toStdString()); }

// CP932 has no U+FFFD, so its presence after conversion means bytes that are no CP932 text.
bool isCleanCp932(const std::string& bytes) {
    return cp932ToUtf8(bytes).find("\xEF\xBF\xBD") == std::string::npos;
}

// Sections and keys compare like the INI file compares them: ASCII letters without case.
QString foldName(const QString& name) {
    QString out = name;
    for (QChar& c : out)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = QChar(c.unicode() - 32);
    return out;
}

QString shortened(const QString& text) {
    return text.size() > 40 ? text.left(40) + QStringLiteral("…") : text;
}

QMetaProperty metaPropertyOf(const QObject* compo, const QString& name) {
    if (!compo || name.isEmpty()) return {};
    int index = compo->metaObject()->indexOfProperty(name.toLatin1().constData());
    return index >= 0 ? compo->metaObject()->property(index) : QMetaProperty();
}

TFont* fontOf(const QVariant& value) {
    if (!(value.metaType().flags() & QMetaType::PointerToQObject)) return nullptr;
    return qobject_cast<TFont*>(value.value<QObject*>());
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TProp / TProps

TPropKind propKindOf(const QObject* compo, const QString& propName) {
    QMetaProperty mp = metaPropertyOf(compo, propName);
    if (!mp.isValid() || !mp.isReadable()) return TPropKind::None;
    const QMetaType type = mp.metaType();
    if (type.flags() & QMetaType::PointerToQObject) {
        const QMetaObject* mo = type.metaObject();
        return mo && mo->inherits(&TFont::staticMetaObject) ? TPropKind::Object : TPropKind::None;
    }
    if (!mp.isWritable()) return TPropKind::None;
    if (mp.isEnumType()) return mp.isFlagType() ? TPropKind::None : TPropKind::Ordinal;
    switch (type.id()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Char16:
    case QMetaType::QChar:
        return TPropKind::Ordinal;
    case QMetaType::QString:
        return TPropKind::String;
    case QMetaType::Double:
    case QMetaType::Float:
        return TPropKind::Float;
    case QMetaType::QStringList:
        return TPropKind::Object;
    default:
        return TPropKind::None;
    }
}

void TProp::changed() { owner_->changed(); }

void TProp::setCompo(QObject* compo) {
    if (compo_ == compo) return;
    if (compo_) owner_->forget(compo_);
    compo_ = compo;
    if (compo && !propName_.isEmpty() && !metaPropertyOf(compo, propName_).isValid())
        propName_.clear();
    if (compo) owner_->watch(compo);
    changed();
}

void TProp::setPropName(const QString& name) {
    propName_ = name;
    changed();
}

void TProp::setSectionName(const QString& name) {
    sectionName_ = name;
    changed();
}

void TProp::setKeyName(const QString& name) {
    keyName_ = name;
    changed();
}

void TProp::setEnabled(bool enabled) {
    enabled_ = enabled;
    changed();
}

TPropKind TProp::PropKind() const { return propKindOf(compo_, propName_); }

bool TProp::isValid() const {
    return compo_ && !propName_.isEmpty() && enabled_ && PropKind() != TPropKind::None;
}

QString TProp::effectiveSection() const {
    if (!sectionName_.isEmpty()) return sectionName_;
    if (!compo_) return {};
    if (!compo_->objectName().isEmpty()) return compo_->objectName();
    QString cls = QString::fromLatin1(compo_->metaObject()->className());
    return cls.mid(cls.lastIndexOf(QLatin1Char(':')) + 1);  // without the namespace
}

QString TProp::EffectiveKey() const {
    owner_->refresh();
    return effectiveKey_;
}

QString TProp::columnText(int column) const {
    switch (column) {
    case 0: return (compo_ ? compo_->objectName() : QString()) + QLatin1Char('.') + propName_;
    case 1: return effectiveSection();
    case 2: return EffectiveKey();
    default: return {};
    }
}

QString TProps::columnTitle(int column) {
    static const char* const titles[] = {"Property", "Section", "Key"};
    return column >= 0 && column < 3 ? QString::fromLatin1(titles[column]) : QString();
}

TProp& TProps::add() {
    items_.push_back(std::unique_ptr<TProp>(new TProp(this)));
    changed();
    return *items_.back();
}

TProp& TProps::add(QObject* compo, const QString& propName, const QString& sectionName,
                   const QString& keyName) {
    TProp& p = add();
    p.setCompo(compo);
    p.setPropName(propName);
    p.setSectionName(sectionName);
    p.setKeyName(keyName);
    return p;
}

void TProps::remove(int index) {
    if (index < 0 || index >= count()) return;
    items_.erase(items_.begin() + index);
    changed();
}

void TProps::clear() {
    items_.clear();
    changed();
}

void TProps::refresh() const {
    if (!dirty_) return;
    std::vector<std::pair<QString, QString>> used;
    for (const auto& item : items_) {
        TProp& p = *item;
        const QString start = p.keyName_.isEmpty() ? p.propName_ : p.keyName_;
        p.effectiveKey_ = start;
        if (!p.isValid()) continue;
        const QString section = foldName(p.effectiveSection());
        auto taken = [&](const QString& key) {
            const QString folded = foldName(key);
            for (const auto& u : used)
                if (u.first == section && u.second == folded) return true;
            return false;
        };
        for (int n = 1; taken(p.effectiveKey_); ++n) p.effectiveKey_ = start + QString::number(n);
        used.emplace_back(section, foldName(p.effectiveKey_));
    }
    dirty_ = false;
}

void TProps::watch(QObject* compo) {
    QObject::connect(compo, &QObject::destroyed, owner_, &TCustomSaveProps::compoDestroyed,
                     Qt::UniqueConnection);
}

void TProps::forget(QObject* compo) {
    for (const auto& item : items_)
        if (item->compo_ == compo) return;
    QObject::disconnect(compo, &QObject::destroyed, owner_, &TCustomSaveProps::compoDestroyed);
}

// ---------------------------------------------------------------------------------------------
// TCustomSaveProps

TCustomSaveProps::TCustomSaveProps(QObject* owner, Dialogs& dialogs)
    : QObject(owner), dialogs_(dialogs), owner_(owner), props_(this) {
    setAutoSave(true);
}

TCustomSaveProps::~TCustomSaveProps() { QObject::disconnect(ownerGone_); }

void TCustomSaveProps::compoDestroyed(QObject* compo) {
    for (const auto& item : props_.items_)
        if (item->compo_ == compo || item->compo_.isNull()) item->compo_ = nullptr;
    props_.changed();
}

void TCustomSaveProps::setAutoSave(bool on) {
    autoSave_ = on;
    QObject::disconnect(ownerGone_);
    ownerGone_ = {};
    // A widget emits destroyed() before its children go, so the controls are still there.
    if (on && owner_)
        ownerGone_ = connect(owner_, &QObject::destroyed, this, [this] {
            try {
                Save();
            } catch (const std::exception& e) {
                // Nobody is left to catch it while the window is being destroyed.
                dialogs_.message(e.what());
            }
        });
}

bool TCustomSaveProps::setRestorePlacement(TRestorePlacement placement) {
    if (placement.testFlag(TRestoreKind::Enabled) && !ownerForm()) {
        dialogs_.message("Owner が TForm でないと設定できません");
        return false;
    }
    restorePlacement_ = placement;
    return true;
}

QWidget* TCustomSaveProps::ownerForm() const {
    auto* w = qobject_cast<QWidget*>(owner_.data());
    return w && w->isWindow() ? w : nullptr;
}

void TCustomSaveProps::Loaded() {
    if (autoLoad_) Load();
}

bool TCustomSaveProps::checkFreePair(const QString& section, const QString& key) {
    if (saving_) return true;
    props_.changed();
    props_.refresh();
    const QString s = foldName(section), k = foldName(key);
    for (const auto& item : props_.items_) {
        const TProp& p = *item;
        if (!p.isValid() || foldName(p.effectiveSection()) != s) continue;
        const QString own = foldName(p.effectiveKey_);
        bool clash = own == k;
        if (!clash && p.PropKind() == TPropKind::Object && k.startsWith(own) &&
            k.size() > own.size()) {
            // The lines of an object value: the key followed by a number.
            clash = true;
            for (QChar c : k.mid(own.size())) clash = clash && c.isDigit();
        }
        if (clash) {
            dialogs_.message(QStringLiteral("セクション名 %1 とキー名 %2 の組み合わせが重複しています")
                                 .arg(section, key)
                                 .toStdString());
            return false;
        }
    }
    return true;
}

bool TCustomSaveProps::reportFound(const QString& section, const QString& key,
                                   const std::string& value) {
    bool Continue = true;
    if (OnFindOrdValue) {
        std::string lower = value;
        for (char& c : lower)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (lower.starts_with("0x")) lower = "$" + lower.substr(2);
        if (auto n = parseIniInteger(lower)) {
            OnFindOrdValue(this, section, key, *n, Continue);
            return Continue;
        }
    }
    if (OnFindStrValue) OnFindStrValue(this, section, key, fromCp932(value), Continue);
    return Continue;
}

std::vector<std::string> TCustomSaveProps::textFormOf(const QVariant& object) {
    if (object.metaType() == QMetaType::fromType<QStringList>()) {
        std::vector<std::string> items;
        for (const QString& item : object.toStringList()) {
            auto bytes = toCp932(item);
            if (!bytes)
                throw std::runtime_error("「" + shortened(item).toStdString() +
                                         "」に Shift-JIS で表せない文字があります");
            items.push_back(std::move(*bytes));
        }
        return stringsToTextForm(items);
    }
    if (TFont* font = fontOf(object)) {
        auto stored = font->fontSpec();
        if (!stored)
            throw std::runtime_error("フォント名「" + font->Name().toStdString() +
                                     "」に Shift-JIS で表せない文字があります");
        return fontToTextForm(*stored);
    }
    return {};
}

void TCustomSaveProps::applyTextForm(const std::vector<std::string>& lines,
                                     const std::vector<std::string>& keys, QVariant& object) {
    const char* const notText = "Shift-JIS の文字でない部分があります";
    try {
        if (object.metaType() == QMetaType::fromType<QStringList>()) {
            std::vector<std::string> start;
            for (const QString& item : object.toStringList())
                start.push_back(toCp932(item).value_or(std::string()));
            std::vector<std::string> items = start;
            textFormToStrings(lines, items);
            if (items == start) return;
            QStringList list;
            for (const auto& item : items) {
                if (!isCleanCp932(item)) throw std::runtime_error(notText);
                list.push_back(fromCp932(item));
            }
            object = list;
        } else if (TFont* font = fontOf(object)) {
            FontSpec start{font->Charset(), font->Color(), font->Height(),
                           toCp932(font->Name()).value_or(std::string()), font->Pitch(),
                           font->Style()};
            FontSpec stored = start;
            textFormToFont(lines, stored);
            if (stored.name != start.name && !isCleanCp932(stored.name))
                throw std::runtime_error(notText);
            QString name = stored.name == start.name ? font->Name() : fromCp932(stored.name);
            font->setFontSpec(stored);
            font->setName(name);
        }
    } catch (const TextFormError& e) {
        const bool known = e.line() >= 0 && static_cast<std::size_t>(e.line()) < keys.size();
        const std::string where = known ? keys[static_cast<std::size_t>(e.line())]
                                        : keys.back() + " の後";
        throw std::runtime_error(cp932ToUtf8(where) + ": " + e.what());
    }
}

void TCustomSaveProps::Load() {
    if (OnBeforeLoad) OnBeforeLoad(this);
    try {
        BeginRead();
    } catch (const std::exception& e) {
        dialogs_.message("設定ファイルを読み込めなかったため、今の設定のままにしました。\n" +
                         std::string(e.what()));
        return;
    }
    loading_ = true;
    std::vector<Problem> problems;
    try {
        props_.changed();  // section names follow object names, which change silently
        props_.refresh();
        // A selection is applied after its component's lists: the stored order puts ItemIndex
        // before Items, and a selection past the end of the default list (a user's own longer
        // list) would otherwise be refused or clamped before its list arrives.
        std::map<QObject*, int> lastObject;
        for (int i = 0; i < props_.count(); ++i)
            if (props_[i].isValid() && props_[i].PropKind() == TPropKind::Object)
                lastObject[props_[i].Compo()] = i;
        std::map<int, std::vector<int>> deferred;
        for (int i = 0; i < props_.count(); ++i) {
            const TProp& p = props_[i];
            if (!p.isValid()) continue;
            auto last = lastObject.find(p.Compo());
            if (p.PropKind() != TPropKind::Object && last != lastObject.end() && last->second > i) {
                deferred[last->second].push_back(i);
                continue;
            }
            loadEntry(p, problems);
            if (auto waiting = deferred.find(i); waiting != deferred.end())
                for (int j : waiting->second) loadEntry(props_[j], problems);
        }
        if (OnFindOrdValue || OnFindStrValue)
            for (const QString& section : FindKeys) ReadFindKeys(section);
        if (restorePlacement_.testFlag(TRestoreKind::Enabled)) loadPlacement();
        if (OnAfterLoad) OnAfterLoad(this);
    } catch (...) {
        loading_ = false;
        abandonAccess();
        throw;
    }
    loading_ = false;
    if (!problems.empty())
        report(QStringLiteral("設定ファイル %1 の次の項目は読み込めなかったため、今の設定のままにしました。")
                   .arg(storageName()),
               problems);
    EndRead();
}

void TCustomSaveProps::loadEntry(const TProp& prop, std::vector<Problem>& problems) {
    if (!prop.isValid()) return;  // its component may have gone meanwhile
    const QString section = prop.effectiveSection();
    const QString key = prop.EffectiveKey();
    auto problem = [&](const QString& reason) { problems.push_back({section, key, reason}); };
    try {
        const TPropKind kind = prop.PropKind();
        if (kind == TPropKind::Object) {
            QVariant value = metaPropertyOf(prop.Compo(), prop.PropName()).read(prop.Compo());
            if (!ReadObject(section, key, value)) return;
            if (value.metaType() == QMetaType::fromType<QStringList>()) assignChecked(prop, value, problems);
            return;
        }
        if (!ValueExists(section, key)) {
            // Absent: the property keeps its value, or takes its default when it has one.
            if (prop.Default().isValid())
                assignChecked(prop, prop.Default(), problems);
            return;
        }
        const QString text = ReadString(section, key);
        if (kind == TPropKind::String) {
            if (text.contains(QChar(0xFFFD))) return problem(QStringLiteral("Shift-JIS の文字でない部分があります"));
            assignChecked(prop, text, problems);
        } else if (kind == TPropKind::Ordinal) {
            auto value = parseIniInteger(text.toStdString());
            if (!value) return problem(QStringLiteral("整数ではありません（%1）").arg(shortened(text)));
            assignChecked(prop, QVariant(static_cast<int>(*value)), problems);
        } else if (kind == TPropKind::Float) {
            bool ok = false;
            double value = text.trimmed().toDouble(&ok);
            if (!ok || !std::isfinite(value))
                return problem(QStringLiteral("数値ではありません（%1）").arg(shortened(text)));
            assignChecked(prop, QVariant(value), problems);
        }
    } catch (const std::exception& e) {
        problem(QString::fromStdString(e.what()));
    }
}

bool TCustomSaveProps::assignChecked(const TProp& prop, QVariant value,
                                     std::vector<Problem>& problems) {
    QObject* compo = prop.Compo();
    QMetaProperty mp = metaPropertyOf(compo, prop.PropName());
    auto refuse = [&](const QString& reason) {
        problems.push_back({prop.effectiveSection(), prop.EffectiveKey(), reason});
        return false;
    };
    const QString shown = value.metaType() == QMetaType::fromType<QStringList>()
                              ? value.toStringList().join(QLatin1Char(','))
                              : value.toString();
    const QString unusable = QStringLiteral("値 %1 は使えません").arg(shortened(shown));
    // A control may have rules of its own for what it takes.
    if (const auto* group = qobject_cast<const TRadioGroup*>(compo))
        if (QString why = group->storedValueRefusal(prop.PropName(), value); !why.isEmpty())
            return refuse(why);
    if (prop.PropKind() == TPropKind::Ordinal) {
        const qint64 n = value.toLongLong();
        // Conversion must not change the number (2 is no Boolean, 300 no byte).
        if (!value.convert(mp.metaType()) || value.toLongLong() != n) return refuse(unusable);
    } else if (!value.convert(mp.metaType())) {
        return refuse(unusable);
    }
    const QVariant old = mp.read(compo);
    if (!mp.write(compo, value)) return refuse(unusable);
    if (mp.read(compo) != value) {
        // The control adjusted the value (clamped, truncated): keep what it had.
        mp.write(compo, old);
        return refuse(unusable);
    }
    return true;
}

void TCustomSaveProps::Save() {
    if (loading_) return;
    BeginWrite();
    try {
        props_.changed();  // section names follow object names, which change silently
        props_.refresh();
        struct Item {
            QString section, key;
            TPropKind kind;
            QVariant value;
            bool atDefault = false;
        };
        std::vector<Item> items;
        std::vector<Problem> problems;
        QSet<QString> keepSections;  // sections whose old object lines must stay
        // Every value is taken first, so a value the file cannot hold leaves the stored one.
        for (int i = 0; i < props_.count(); ++i) {
            const TProp& p = props_[i];
            if (!p.isValid()) continue;
            Item item{p.effectiveSection(), p.EffectiveKey(), p.PropKind(),
                      metaPropertyOf(p.Compo(), p.PropName()).read(p.Compo())};
            item.atDefault = item.kind != TPropKind::Object && p.Default().isValid() &&
                             item.value == p.Default();
            if (item.kind == TPropKind::String) {
                auto bytes = toCp932(item.value.toString());
                if (!bytes) {
                    problems.push_back({item.section, item.key,
                                        QStringLiteral("Shift-JIS で表せない文字があります")});
                    continue;
                }
                if (!IniDocument::isValidValue(*bytes)) {
                    problems.push_back({item.section, item.key, QStringLiteral("改行を含みます")});
                    continue;
                }
            } else if (item.kind == TPropKind::Object) {
                try {
                    textFormOf(item.value);
                } catch (const std::exception& e) {
                    problems.push_back({item.section, item.key, QString::fromStdString(e.what())});
                    keepSections.insert(foldName(item.section));
                    continue;
                }
            }
            items.push_back(std::move(item));
        }
        QStringList clear;
        QSet<QString> seen;
        for (const Item& item : items) {
            const QString folded = foldName(item.section);
            if (item.kind == TPropKind::Object && !keepSections.contains(folded) &&
                !seen.contains(folded)) {
                seen.insert(folded);
                clear.push_back(item.section);
            }
        }
        clearObjectSections(clear);
        saving_ = true;
        for (const Item& item : items) {
            if (item.atDefault) {
                removeValue(item.section, item.key);
                continue;
            }
            switch (item.kind) {
            case TPropKind::Ordinal:
                WriteInteger(item.section, item.key, static_cast<int>(item.value.toLongLong()));
                break;
            case TPropKind::String:
                WriteString(item.section, item.key, item.value.toString());
                break;
            case TPropKind::Float:
                WriteFloat(item.section, item.key, item.value.toDouble());
                break;
            case TPropKind::Object:
                WriteObject(item.section, item.key, item.value);
                break;
            case TPropKind::None:
                break;
            }
        }
        if (restorePlacement_.testFlag(TRestoreKind::Enabled)) savePlacement();
        saving_ = false;
        if (OnAfterSave) OnAfterSave(this);
        if (!problems.empty())
            report(QStringLiteral("次の項目は設定ファイル %1 に保存できなかったため、前の値のままです。")
                       .arg(storageName()),
                   problems);
    } catch (...) {
        saving_ = false;
        abandonAccess();  // nothing half-done is written
        throw;
    }
    EndWrite();
}

void TCustomSaveProps::loadPlacement() {
    QWidget* form = ownerForm();
    if (!form) return;
    const QString section = QStringLiteral("WindowPlacement");
    const QString name = form->objectName();
    int v[5];
    const char* const suffixes[] = {"Left", "Top", "Right", "Bottom", "State"};
    for (int i = 0; i < 5; ++i) {
        const QString key = name + QLatin1String(suffixes[i]);
        if (!ValueExists(section, key)) return;
        v[i] = ReadInteger(section, key);
    }
    if (v[2] <= v[0] || v[3] <= v[1]) return;  // no usable rectangle
    form->setWindowState(Qt::WindowNoState);
    form->setGeometry(v[0], v[1], v[2] - v[0], v[3] - v[1]);
    if (v[4] == 1 && restorePlacement_.testFlag(TRestoreKind::AllowMinimize))
        form->setWindowState(Qt::WindowMinimized);
    else if (v[4] == 2 && restorePlacement_.testFlag(TRestoreKind::AllowMaximize))
        form->setWindowState(Qt::WindowMaximized);
}

void TCustomSaveProps::savePlacement() {
    QWidget* form = ownerForm();
    if (!form) return;
    QRect r = form->normalGeometry();
    if (!r.isValid()) r = form->geometry();
    const int state = form->isMinimized() ? 1 : form->isMaximized() ? 2 : 0;
    const QString section = QStringLiteral("WindowPlacement");
    const QString name = form->objectName();
    WriteInteger(section, name + QLatin1String("Left"), r.left());
    WriteInteger(section, name + QLatin1String("Top"), r.top());
    WriteInteger(section, name + QLatin1String("Right"), r.left() + r.width());
    WriteInteger(section, name + QLatin1String("Bottom"), r.top() + r.height());
    WriteInteger(section, name + QLatin1String("State"), state);
}

void TCustomSaveProps::report(const QString& heading, const std::vector<Problem>& problems) {
    constexpr std::size_t kShown = 20;
    QString text = heading + QLatin1Char('\n');
    for (std::size_t i = 0; i < problems.size(); ++i) {
        if (i == kShown) {
            text += QStringLiteral("\nほか %1 件").arg(problems.size() - kShown);
            break;
        }
        const Problem& p = problems[i];
        text += QStringLiteral("\n[%1] %2: %3").arg(p.section, p.key, p.reason);
    }
    dialogs_.message(text.toStdString());
}

// ---------------------------------------------------------------------------------------------
// TIniSaveProps

namespace {

std::string pathOf(const QString& fileName) {
    QString name = fileName;
    if (name.isEmpty()) {
        QFileInfo exe(QCoreApplication::applicationFilePath());
        name = exe.path() + QLatin1Char('/') + exe.completeBaseName() + QStringLiteral(".ini");
    }
    return QFile::encodeName(name).toStdString();
}

}  // namespace

TIniSaveProps::TIniSaveProps(QObject* owner, Dialogs& dialogs) : TCustomSaveProps(owner, dialogs) {
    ini_.setFileName(pathOf(fileName_));
}

void TIniSaveProps::setFileName(const QString& fileName) {
    fileName_ = fileName;
    ini_.setFileName(pathOf(fileName));
}

QString TIniSaveProps::storageName() const {
    return QFile::decodeName(QByteArray::fromStdString(ini_.fileName()));
}

int TIniSaveProps::ReadInteger(const QString& section, const QString& key, int fallback) {
    auto s = toCp932(section), k = toCp932(key);
    return s && k ? ini_.readInteger(*s, *k, fallback) : fallback;
}

QString TIniSaveProps::ReadString(const QString& section, const QString& key,
                                  const QString& fallback) {
    auto s = toCp932(section), k = toCp932(key);
    if (!s || !k) return fallback;
    IniBracket bracket(ini_, IniBracket::Read);
    auto value = ini_.document().value(*s, *k);
    bracket.close();
    return value ? fromCp932(*value) : fallback;
}

double TIniSaveProps::ReadFloat(const QString& section, const QString& key, double fallback) {
    auto s = toCp932(section), k = toCp932(key);
    return s && k ? ini_.readFloat(*s, *k, fallback) : fallback;
}

bool TIniSaveProps::ValueExists(const QString& section, const QString& key) {
    auto s = toCp932(section), k = toCp932(key);
    return s && k && ini_.valueExists(*s, *k);
}

bool TIniSaveProps::WriteInteger(const QString& section, const QString& key, int value) {
    return WriteString(section, key, QString::number(value));
}

bool TIniSaveProps::WriteFloat(const QString& section, const QString& key, double value) {
    if (!checkFreePair(section, key)) return false;
    auto s = toCp932(section), k = toCp932(key);
    if (!s || !k || !IniDocument::isValidName(*s) || !IniDocument::isValidName(*k)) {
        dialogs().message(QStringLiteral("セクション名 %1 かキー名 %2 は設定ファイルに書けません")
                              .arg(section, key)
                              .toStdString());
        return false;
    }
    ini_.writeFloat(*s, *k, value);
    return true;
}

bool TIniSaveProps::WriteString(const QString& section, const QString& key, const QString& value) {
    if (!checkFreePair(section, key)) return false;
    auto s = toCp932(section), k = toCp932(key);
    if (!s || !k || !IniDocument::isValidName(*s) || !IniDocument::isValidName(*k)) {
        dialogs().message(QStringLiteral("セクション名 %1 かキー名 %2 は設定ファイルに書けません")
                              .arg(section, key)
                              .toStdString());
        return false;
    }
    auto v = toCp932(value);
    if (!v || !IniDocument::isValidValue(*v)) {
        dialogs().message(QStringLiteral("「%1」は Shift-JIS で表せないか改行を含むため、設定ファイルに書けません")
                              .arg(shortened(value))
                              .toStdString());
        return false;
    }
    ini_.writeString(*s, *k, *v);
    return true;
}

bool TIniSaveProps::ReadObject(const QString& section, const QString& key, QVariant& object) {
    IniDocument& doc = ini_.document();  // only inside Load and Save
    auto s = toCp932(section), k = toCp932(key);
    if (!s || !k) return false;
    std::vector<std::string> lines, keys;
    // The lines are taken in file order: key0, key1, ... as they were written.
    for (auto& [name, value] : doc.sectionValues(*s)) {
        if (name.size() <= k->size() || name.compare(0, k->size(), *k) != 0) continue;
        if (name.find_first_not_of("0123456789", k->size()) != std::string::npos) continue;
        lines.push_back(value);
        keys.push_back(name);
    }
    if (lines.empty()) return false;
    applyTextForm(lines, keys, object);
    return true;
}

void TIniSaveProps::WriteObject(const QString& section, const QString& key,
                                const QVariant& object) {
    IniDocument& doc = ini_.document();
    auto s = toCp932(section), k = toCp932(key);
    if (!s || !k) return;
    const std::vector<std::string> lines = textFormOf(object);
    for (std::size_t i = 0; i < lines.size(); ++i) doc.writeString(*s, *k + std::to_string(i), lines[i]);
}

void TIniSaveProps::ReadFindKeys(const QString& section) {
    IniDocument& doc = ini_.document();
    auto s = toCp932(section);
    if (!s) return;
    for (const auto& [key, value] : doc.sectionValues(*s)) {
        if (key.empty() || value.empty()) continue;
        if (!reportFound(section, fromCp932(key), value)) return;
    }
}

void TIniSaveProps::removeValue(const QString& section, const QString& key) {
    IniDocument& doc = ini_.document();
    auto s = toCp932(section), k = toCp932(key);
    if (!s || !k) return;
    doc.deleteKey(*s, *k);
    if (doc.sectionIsEmpty(*s)) doc.eraseSection(*s);
}

void TIniSaveProps::clearObjectSections(const QStringList& sections) {
    IniDocument& doc = ini_.document();
    for (const QString& section : sections)
        if (auto s = toCp932(section)) doc.clearSection(*s);
}

}  // namespace keyrook
