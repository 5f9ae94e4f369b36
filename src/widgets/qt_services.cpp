#include "widgets/qt_services.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFont>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QSoundEffect>
#include <QTranslator>
#include <QUrl>
#include <QWidget>

#include <chrono>

#include "base/cp932.h"

namespace keyrook {

QString fromCp932(const std::string& cp932) { return QString::fromStdString(cp932ToUtf8(cp932)); }

std::optional<std::string> toCp932(const QString& text) { return utf8ToCp932(text.toStdString()); }

void StdRandom::randomize() {
    engine_.seed(static_cast<unsigned>(
        std::chrono::steady_clock::now().time_since_epoch().count()));
}

int StdRandom::next(int range) {
    if (range <= 0) return 0;
    return std::uniform_int_distribution<int>(0, range - 1)(engine_);
}

Timers& windowTimers(Timers* given, std::unique_ptr<QtTimers>& own,
                     std::function<void(const std::string&)> onTick) {
    if (given) return *given;
    own = std::make_unique<QtTimers>();
    own->setHandler(std::move(onTick));
    return *own;
}

QTimer* QtTimers::timer(const std::string& name) {
    QTimer*& t = timers_[name];
    if (!t) {
        t = new QTimer(this);
        t->setTimerType(Qt::PreciseTimer);
        t->setInterval(1000);
        connect(t, &QTimer::timeout, this, [this, name] {
            if (handler_) handler_(name);
        });
    }
    return t;
}

void QtTimers::setEnabled(const std::string& name, bool enabled) {
    QTimer* t = timer(name);
    if (enabled == t->isActive()) return;
    if (enabled) {
        t->start();
    } else {
        t->stop();
    }
}

bool QtTimers::enabled(const std::string& name) const {
    auto it = timers_.find(name);
    return it != timers_.end() && it->second->isActive();
}

void QtTimers::setInterval(const std::string& name, int milliseconds) {
    timer(name)->setInterval(milliseconds);
}

int QtTimers::interval(const std::string& name) const {
    auto it = timers_.find(name);
    return it == timers_.end() ? 0 : it->second->interval();
}

QtSounds::QtSounds(Paths paths, QObject* parent) : QObject(parent), paths_(std::move(paths)) {}

void QtSounds::play(const std::string& name) { start(name, false); }
void QtSounds::playLoop(const std::string& name) { start(name, true); }

void QtSounds::start(const std::string& name, bool loop) {
    last_ = QString::fromStdString(name);
    if (playing_) playing_->stop();
    QString path = QString::fromStdString(paths_.soundFile(name));
    if (!QFileInfo::exists(path)) return;  // a missing sound is simply not heard
    QSoundEffect*& effect = effects_[last_];
    if (!effect) {
        effect = new QSoundEffect(this);
        effect->setSource(QUrl::fromLocalFile(path));
        effect->setVolume(0.8f);
    }
    effect->setLoopCount(loop ? QSoundEffect::Infinite : 1);
    effect->play();
    playing_ = effect;
}

// The window the user is looking at owns the box, so it opens above it; the main window may be
// hidden during a session.
QWidget* QtDialogs::owner() const {
    QWidget* active = QApplication::activeWindow();
    return active ? active : parent_;
}

void QtDialogs::message(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), qs(text), QMessageBox::Ok,
                    owner());
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}

bool QtDialogs::confirm(const std::string& text) {
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), qs(text),
                    QMessageBox::Yes | QMessageBox::No, owner());
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    return box.exec() == QMessageBox::Yes;
}

Answer QtDialogs::confirmCancel(const std::string& text) {
    // Every Yes/No/Cancel question is about edits that would otherwise be lost: a warning.
    QMessageBox box(QMessageBox::Warning, QApplication::applicationName(), qs(text),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, owner());
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    switch (box.exec()) {
        case QMessageBox::Yes: return Answer::Yes;
        case QMessageBox::No: return Answer::No;
        default: return Answer::Cancel;
    }
}

std::optional<std::string> QtDialogs::input(const std::string& caption, const std::string& prompt,
                                            const std::string& value) {
    QInputDialog dialog(owner());
    dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
    dialog.setWindowTitle(qs(caption));
    dialog.setLabelText(qs(prompt));
    dialog.setTextValue(qs(value));
    dialog.setOkButtonText("OK");
    dialog.setCancelButtonText("ｷｬﾝｾﾙ");
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return us(dialog.textValue());
}

std::optional<std::string> QtDialogs::saveFileName(const std::string& caption,
                                                   const std::string& initial,
                                                   const std::string& filter) {
    QFileDialog dialog(owner(), qs(caption), qs(initial), qs(filter));
    dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return us(dialog.selectedFiles().front());
}

std::optional<std::string> QtDialogs::openFileName(const std::string& caption,
                                                   const std::string& initial,
                                                   const std::string& filter) {
    QFileDialog dialog(owner(), qs(caption), qs(initial), qs(filter));
    dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return us(dialog.selectedFiles().front());
}

bool installQtTranslation() {
    static QTranslator* installed = nullptr;
    if (installed) return true;
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral("qtbase_ja"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    installed = translator;
    return true;
}

void installFontSubstitutions() {
    const QStringList gothic{"Noto Sans CJK JP", "DejaVu Sans"};
    const QStringList mono{"Noto Sans Mono CJK JP", "DejaVu Sans Mono"};
    for (const char* face : {"MS UI Gothic", "ＭＳ Ｐゴシック", "HGPｺﾞｼｯｸE", "HGPゴシックE",
                             "HGSｺﾞｼｯｸE", "HGSゴシックE", "ＭＳ Ｐ明朝", "MS Sans Serif"})
        QFont::insertSubstitutions(QString::fromUtf8(face), gothic);
    for (const char* face : {"ＭＳ ゴシック", "MS Gothic", "ＭＳ 明朝", "Courier New"})
        QFont::insertSubstitutions(QString::fromUtf8(face), mono);
    QFont::insertSubstitutions("Century Gothic", {"URW Gothic", "Noto Sans CJK JP"});
    QFont::insertSubstitutions("Arial", {"Liberation Sans", "Nimbus Sans", "DejaVu Sans"});
    QFont::insertSubstitutions("Tahoma", {"Liberation Sans", "DejaVu Sans"});
    QFont::insertSubstitutions("Impact", {"DejaVu Sans Condensed", "Liberation Sans Narrow",
                                          "Liberation Sans"});
    for (const char* face : {"Times New Roman", "Century"})
        QFont::insertSubstitutions(face, {"Liberation Serif", "Nimbus Roman", "DejaVu Serif"});
}

}  // namespace keyrook
