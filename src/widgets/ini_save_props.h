// Settings kept as properties of controls. TIniSaveProps holds a list of (component, property)
// pairs and copies their values to and from a user's INI file through Qt's property system.
//
//   ordinal (bool, int, char, enum)  -> "Key=<decimal>"
//   QString                          -> "Key=<text>"           (CP932 in the file)
//   double                           -> "Key=<number>"
//   QStringList, TFont*              -> "Key0=...", "Key1=..."  (text form, one line per key)
//
// A value that cannot be read (a damaged or hand-edited file) leaves its property as it was;
// all such problems of one Load or Save are reported together in one message box.
#pragma once

#include <QColor>
#include <QFlags>
#include <QFont>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/services.h"
#include "settings/ini_file.h"
#include "settings/text_form.h"
#include "widgets/tfont.h"

namespace keyrook {

// How a property is stored, from its type. None: not stored (the entry is ignored).
enum class TPropKind { None, Ordinal, String, Float, Object };

TPropKind propKindOf(const QObject* compo, const QString& propName);

class TProps;

// One list entry.
class TProp {
public:
    QObject* Compo() const { return compo_; }
    // A component without the current property clears PropName.
    void setCompo(QObject* compo);
    QString PropName() const { return propName_; }
    void setPropName(const QString& name);
    QString SectionName() const { return sectionName_; }  // empty: the component's name
    void setSectionName(const QString& name);
    QString KeyName() const { return keyName_; }  // empty: PropName
    void setKeyName(const QString& name);
    bool Enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    // A property at its default (ordinal, string or float) is not stored: Save removes its
    // key, and its section when nothing else is left in it, and Load of a file without the
    // key puts the default back. Lets a setting join the list without changing any file while
    // it is unused. Invalid (the default): always stored, absent keys change nothing.
    QVariant Default() const { return default_; }
    void setDefault(const QVariant& value) { default_ = value; }

    TPropKind PropKind() const;
    bool isValid() const;
    QString effectiveSection() const;
    // The key used: KeyName (or PropName), with 1, 2, ... appended when an earlier valid entry
    // of the list already uses that key in the same section.
    QString EffectiveKey() const;

    // Columns of a list view: "Property" (component.property), "Section", "Key".
    QString columnText(int column) const;

private:
    friend class TProps;
    friend class TCustomSaveProps;
    explicit TProp(TProps* owner) : owner_(owner) {}
    void changed();

    TProps* owner_;
    QPointer<QObject> compo_;
    QString propName_;
    QString sectionName_;
    QString keyName_;
    bool enabled_ = true;
    QVariant default_;
    QString effectiveKey_;
};

class TCustomSaveProps;

class TProps {
public:
    explicit TProps(TCustomSaveProps* owner) : owner_(owner) {}
    TProps(const TProps&) = delete;
    TProps& operator=(const TProps&) = delete;

    TProp& add();
    TProp& add(QObject* compo, const QString& propName, const QString& sectionName = {},
               const QString& keyName = {});
    int count() const { return static_cast<int>(items_.size()); }
    TProp& operator[](int index) { return *items_.at(static_cast<std::size_t>(index)); }
    const TProp& operator[](int index) const { return *items_.at(static_cast<std::size_t>(index)); }
    void remove(int index);
    void clear();

    static QString columnTitle(int column);

private:
    friend class TProp;
    friend class TCustomSaveProps;
    void changed() { dirty_ = true; }
    void refresh() const;  // recomputes the effective keys when something changed
    void watch(QObject* compo);
    void forget(QObject* compo);

    TCustomSaveProps* owner_;
    std::vector<std::unique_ptr<TProp>> items_;
    mutable bool dirty_ = true;
};

enum class TRestoreKind { Enabled = 1, AllowMinimize = 2, AllowMaximize = 4 };
Q_DECLARE_FLAGS(TRestorePlacement, TRestoreKind)

// The storage-independent part: the list, the load and save sequences, the events.
class TCustomSaveProps : public QObject {
    Q_OBJECT
public:
    using TNotifyEvent = std::function<void(TCustomSaveProps* sender)>;
    using TFindOrdValueEvent = std::function<void(TCustomSaveProps* sender, const QString& section,
                                                  const QString& key, int value, bool& Continue)>;
    using TFindStrValueEvent =
        std::function<void(TCustomSaveProps* sender, const QString& section, const QString& key,
                            const QString& value, bool& Continue)>;

    // owner: the window (or other object) whose placement and lifetime the component follows.
    TCustomSaveProps(QObject* owner, Dialogs& dialogs);
    ~TCustomSaveProps() override;

    TProps& Props() { return props_; }
    const TProps& Props() const { return props_; }

    bool AutoLoad() const { return autoLoad_; }
    void setAutoLoad(bool on) { autoLoad_ = on; }
    // Save when the owner goes away.
    bool AutoSave() const { return autoSave_; }
    void setAutoSave(bool on);
    TRestorePlacement RestorePlacement() const { return restorePlacement_; }
    // Refused, with a message, when Enabled is asked for and the owner is no window.
    bool setRestorePlacement(TRestorePlacement placement);
    QStringList FindKeys;

    TNotifyEvent OnBeforeLoad;
    TNotifyEvent OnAfterLoad;
    TNotifyEvent OnAfterSave;
    TFindOrdValueEvent OnFindOrdValue;
    TFindStrValueEvent OnFindStrValue;

    // The owner calls this once its controls exist (the moment a window's resource has been
    // read): loads when AutoLoad is on.
    void Loaded();

    // Storage. Each read and write brackets itself. A write of a pair that a list entry uses is
    // refused outside Save, as is a value the file cannot hold; both say why in a message.
    virtual int ReadInteger(const QString& section, const QString& key, int fallback = 0) = 0;
    virtual QString ReadString(const QString& section, const QString& key,
                               const QString& fallback = {}) = 0;
    virtual double ReadFloat(const QString& section, const QString& key, double fallback = 0) = 0;
    virtual bool WriteInteger(const QString& section, const QString& key, int value) = 0;
    virtual bool WriteString(const QString& section, const QString& key, const QString& value) = 0;
    virtual bool WriteFloat(const QString& section, const QString& key, double value) = 0;
    // Object values, inside an open bracket only. ReadObject returns false when no key matched
    // and throws std::runtime_error when the stored text does not parse (object unchanged).
    virtual bool ReadObject(const QString& section, const QString& key, QVariant& object) = 0;
    virtual void WriteObject(const QString& section, const QString& key,
                             const QVariant& object) = 0;
    virtual void ReadFindKeys(const QString& section) = 0;
    virtual void BeginRead() = 0;
    virtual void EndRead() = 0;
    virtual void BeginWrite() = 0;
    virtual void EndWrite() = 0;
    virtual void Load();
    virtual void Save();
    virtual bool ValueExists(const QString& section, const QString& key) = 0;

    bool isLoading() const { return loading_; }
    bool isSaving() const { return saving_; }

protected:
    // The text form lines of a QStringList or TFont* value; throws std::runtime_error when the
    // value has text Shift-JIS lacks.
    static std::vector<std::string> textFormOf(const QVariant& object);
    // Applies parsed lines to the value; `keys` name the lines for messages.
    static void applyTextForm(const std::vector<std::string>& lines,
                              const std::vector<std::string>& keys, QVariant& object);
    // Before the values of Save are written: the sections holding object values, so a storage
    // can drop stale lines of a list that got shorter.
    virtual void clearObjectSections(const QStringList& sections) { (void)sections; }
    // Inside Save: drops a value kept at its default (see TProp::setDefault).
    virtual void removeValue(const QString& section, const QString& key) = 0;
    virtual QString storageName() const = 0;
    // Ends a bracket without writing anything (an error interrupted Load or Save).
    virtual void abandonAccess() { EndRead(); }

    // False (after the message) when the pair belongs to a list entry and Save is not running.
    bool checkFreePair(const QString& section, const QString& key);
    // Calls the find events for one entry; false when an event asked to stop.
    bool reportFound(const QString& section, const QString& key, const std::string& value);
    Dialogs& dialogs() { return dialogs_; }

private slots:
    void compoDestroyed(QObject* compo);

private:
    friend class TProps;
    struct Problem {
        QString section, key, reason;
    };
    void loadEntry(const TProp& prop, std::vector<Problem>& problems);
    bool assignChecked(const TProp& prop, QVariant value, std::vector<Problem>& problems);
    void loadPlacement();
    void savePlacement();
    void report(const QString& heading, const std::vector<Problem>& problems);
    QWidget* ownerForm() const;

    Dialogs& dialogs_;
    QPointer<QObject> owner_;
    TProps props_;
    bool autoLoad_ = true;
    bool autoSave_ = true;
    TRestorePlacement restorePlacement_;
    bool loading_ = false;
    bool saving_ = false;
    QMetaObject::Connection ownerGone_;
};

// The list stored in an INI file (CP932, see settings/ini_file.h).
class TIniSaveProps : public TCustomSaveProps {
    Q_OBJECT
public:
    TIniSaveProps(QObject* owner, Dialogs& dialogs);

    // Empty: the program's path with ".ini" for its extension. Only recorded: the file is
    // opened by the next access.
    QString FileName() const { return fileName_; }
    void setFileName(const QString& fileName);

    int ReadInteger(const QString& section, const QString& key, int fallback = 0) override;
    QString ReadString(const QString& section, const QString& key,
                       const QString& fallback = {}) override;
    double ReadFloat(const QString& section, const QString& key, double fallback = 0) override;
    bool WriteInteger(const QString& section, const QString& key, int value) override;
    bool WriteString(const QString& section, const QString& key, const QString& value) override;
    bool WriteFloat(const QString& section, const QString& key, double value) override;
    bool ReadObject(const QString& section, const QString& key, QVariant& object) override;
    void WriteObject(const QString& section, const QString& key, const QVariant& object) override;
    void ReadFindKeys(const QString& section) override;
    void BeginRead() override { ini_.beginRead(); }
    void EndRead() override { ini_.endRead(); }
    void BeginWrite() override { ini_.beginWrite(); }
    void EndWrite() override { ini_.endWrite(); }
    bool ValueExists(const QString& section, const QString& key) override;

    // For tests of damaged files.
    void setSizeLimit(std::size_t bytes) { ini_.setSizeLimit(bytes); }

protected:
    void clearObjectSections(const QStringList& sections) override;
    void removeValue(const QString& section, const QString& key) override;
    QString storageName() const override;
    void abandonAccess() override { ini_.abandon(); }

private:
    IniFile ini_;
    QString fileName_;
};

}  // namespace keyrook

Q_DECLARE_OPERATORS_FOR_FLAGS(keyrook::TRestorePlacement)
