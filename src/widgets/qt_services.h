// Qt implementations of the services engines and windows receive.
#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>
#include <random>

#include "base/paths.h"
#include "base/services.h"

class QSoundEffect;
class QWidget;

namespace keyrook {

inline QString qs(const std::string& utf8) { return QString::fromStdString(utf8); }
inline std::string us(const QString& text) { return text.toStdString(); }
// CP932 bytes <-> QString.
QString fromCp932(const std::string& cp932);
// nullopt when the text holds characters Shift-JIS lacks.
std::optional<std::string> toCp932(const QString& text);

class SteadyClock : public Clock {
public:
    SteadyClock() { timer_.start(); }
    std::uint32_t tickCount() override { return static_cast<std::uint32_t>(timer_.elapsed()); }

private:
    QElapsedTimer timer_;
};

class StdRandom : public Random {
public:
    void randomize() override;
    int next(int range) override;

private:
    std::mt19937 engine_{std::random_device{}()};
};

// Named QTimers, made on first use; each firing calls the handler with the timer's name.
class QtTimers : public QObject, public Timers {
public:
    explicit QtTimers(QObject* parent = nullptr) : QObject(parent) {}
    void setHandler(std::function<void(const std::string&)> handler) { handler_ = std::move(handler); }
    void setEnabled(const std::string& name, bool enabled) override;
    bool enabled(const std::string& name) const override;
    void setInterval(const std::string& name, int milliseconds) override;
    int interval(const std::string& name) const override;

private:
    QTimer* timer(const std::string& name);
    std::map<std::string, QTimer*> timers_;
    std::function<void(const std::string&)> handler_;
};

// The timers a window runs on: the ones given (tests pass fake timers), or else Qt timers of
// its own, kept in own, whose ticks go to onTick.
Timers& windowTimers(Timers* given, std::unique_ptr<QtTimers>& own,
                     std::function<void(const std::string&)> onTick);

// Wave sounds, the program's own; one sound at a time. Without an audio device QSoundEffect
// simply stays silent.
class QtSounds : public QObject, public Sounds {
public:
    explicit QtSounds(Paths paths, QObject* parent = nullptr);
    void play(const std::string& name) override;
    void playLoop(const std::string& name) override;
    QString lastPlayed() const { return last_; }

private:
    void start(const std::string& name, bool loop);
    Paths paths_;
    QHash<QString, QSoundEffect*> effects_;
    QPointer<QSoundEffect> playing_;
    QString last_;
};

// Message boxes and input dialogs with the program's captions.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    void message(const std::string& text) override;
    bool confirm(const std::string& text) override;
    Answer confirmCancel(const std::string& text) override;
    std::optional<std::string> input(const std::string& caption, const std::string& prompt,
                                     const std::string& value) override;
    std::optional<std::string> saveFileName(const std::string& caption, const std::string& initial,
                                            const std::string& filter) override;
    std::optional<std::string> openFileName(const std::string& caption, const std::string& initial,
                                            const std::string& filter) override;

private:
    QWidget* owner() const;
    QWidget* parent_;
};

// Maps the Windows face names the windows ask for onto installed faces.
void installFontSubstitutions();

// Qt's own Japanese texts (qtbase_ja) for the standard buttons and choosers, whatever the
// system's locale; false when the translation is not installed.
bool installQtTranslation();

}  // namespace keyrook
