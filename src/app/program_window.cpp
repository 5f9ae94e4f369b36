#include "app/program_window.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QTimer>

#include <algorithm>
#include <utility>

#include "app/main_window.h"
#include "app/ui/window_modules.h"
#include "base/cp932.h"
#include "base/files.h"
#include "settings/ini_file.h"
#include "settings/variant_settings.h"
#include "records/calendar_window.h"
#include "records/log_window.h"
#include "records/weak_key_set.h"
#include "records/weak_keys_window.h"
#include "reflex/ref_level_dialog.h"
#include "reflex/reflection_window.h"
#include "settings/setting_window.h"
#include "tenkey/tenkey_window.h"
#include "typing/fin_dialog.h"
#include "typing/invader_window.h"
#include "typing/record_file.h"
#include "typing/result_model.h"
#include "typing/typing_window.h"

namespace keyrook {

// The typing window is made before the settings window whose controls it reads, so it is
// handed this forwarder, pointed at the settings window once that exists.
class ForwardedSettings : public TypingSettings {
public:
    TypingOptions options() const override { return target ? target->options() : TypingOptions(); }
    const VariantTable& variants() const override {
        return target ? target->variants() : defaults;
    }
    const TypingSettings* target = nullptr;
    VariantTable defaults;
};

// The long-lived windows after the main window, in the order they are made.
struct ProgramWindows::Rest {
    Rest(TMainForm& main, TypingSettings& settings, Clock& clock, Random& random, Timers* timers,
         const std::optional<std::string>& user)
        : typing_(main.context(), settings, clock, random, timers),
          fin_(main.context(), &typing_),
          setting_(main.context(), main.titleLabel(), typing_, fin_, nullptr, user),
          reflection_(main.context(), clock, random) {}
    TTyping typing_;
    TFin fin_;
    TSetting setting_;
    TReflection reflection_;
};

namespace {

// Runs a function once, after the first paint of a window (when the event loop next turns, so
// that the painted window reaches the screen first).
class AfterFirstPaint : public QObject {
public:
    AfterFirstPaint(QWidget* window, std::function<void()> run) : run_(std::move(run)) {
        window->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && run_) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                if (auto run = std::exchange(run_, nullptr)) run();
            });
        }
        return false;
    }

private:
    std::function<void()> run_;
};

}  // namespace

ProgramWindows::ProgramWindows(const Paths& paths, Sounds& sounds, Dialogs& dialogs,
                               Clock& clock, Random& random, Timers* typingTimers, Start start)
    : now(localDateTime),
      clock_(clock),
      random_(random),
      typingTimers_(typingTimers),
      settings_(std::make_unique<ForwardedSettings>()),
      main_(std::make_unique<TMainForm>(paths, sounds, dialogs)) {
    main_->startPractice = [this] { startPractice(); };
    main_->openWeakKeys = [this](const std::string& user) { return openWeakKeys(user); };
    AppContext& app = main_->context();
    main_->showCalendar = [&app](const std::string& user) { openCalendar(app, user); };
    main_->setEntryAction(MenuEntry::Invader, [this] { openInvader(); });
    main_->setEntryAction(MenuEntry::Record, [this, &app] {
        made();
        openRecord(app);
    });
    main_->setEntryAction(MenuEntry::Reflection, [this, &app] { openReflection(app, made().reflection_); });
    main_->setEntryAction(MenuEntry::Tenkey, [this, &app] {
        made();
        openTenkey(app);
    });
    main_->setEntryAction(MenuEntry::Setting, [this] { made().setting_.open(main_->currentUser()); });
    main_->setEntryAction(MenuEntry::Maker, [this, &app] {
        made();
        openMakerWindow(app);
    });
    if (start == Start::Together) {
        made();
    } else {
        startUser_ = main_->currentUser();
        firstPaint_ = std::make_unique<AfterFirstPaint>(main_.get(), [this] {
            // Without a selected set the information box shows the title the settings file
            // stores, as soon as the menu is up.
            if (main_->pager().selected() < 0) made();
            if (afterFirstPaint) afterFirstPaint();
        });
    }
}

ProgramWindows::~ProgramWindows() = default;

TTyping& ProgramWindows::Typing() { return made().typing_; }
TFin& ProgramWindows::Fin() { return made().fin_; }
TSetting& ProgramWindows::Setting() { return made().setting_; }

ProgramWindows::Rest& ProgramWindows::made() {
    if (rest_) return *rest_;
    rest_ = std::make_unique<Rest>(*main_, *settings_, clock_, random_, typingTimers_, startUser_);
    settings_->target = &rest_->setting_;
    TTyping& typing = rest_->typing_;
    typing.openSettings = [this] { main_->entryClick(MenuEntry::Setting); };
    typing.guideWanted = [this] { return rest_->setting_.keyboardGuide(); };
    typing.engine().onEnded = [this] { ViewResult(); };
    typing.onRowsChanged = [this] { rest_->fin_.setRows(rest_->typing_.engine().rows()); };
    return *rest_;
}

void ProgramWindows::startPractice() {
    TMainForm& m = *main_;
    Rest& r = made();
    m.hide();
    r.setting_.applyFonts();
    r.typing_.preparePractice(m.pager().selectedTitle(), m.currentUser());
    r.typing_.show();
    r.typing_.raise();
    r.typing_.activateWindow();
}

void ProgramWindows::openInvader() {
    TInvader picker(main_.get());
    picker.move(main_->frameGeometry().center() - picker.rect().center());
    picker.onChoose = [this](int level) { startInvader(level); };
    picker.exec();
}

void ProgramWindows::startInvader(int level) {
    TTyping& typing = made().typing_;
    typing.invader().choose(typing.engine(), level);
    typing.render();
    typing.show();
    typing.raise();
    typing.activateWindow();
    main_->hide();
}

void ProgramWindows::ViewResult() {
    Rest& r = made();
    SessionFigures figures = r.typing_.engine().sessionFigures();
    figures.user = main_->currentUser();
    figures.ended = now();
    const Paths& paths = main_->context().paths();
    std::string path = paths.userFile(figures.user, ".rec");
    const ResultModel model = makeResult(figures, path);
    r.fin_.showResult(model, path);
    const KeyStatsCounter& keys = r.typing_.engine().keyStats();
    if (!figures.invader && !keys.empty()) {
        // Date and title as the record line holds them.
        r.fin_.setKeyStats(paths.userFile(figures.user, ".kst"),
                           keyStatsLine(recordDateText(figures.ended),
                                        recordFieldText(figures.title), keys.counts()));
    }
}

bool ProgramWindows::openWeakKeys(const std::string& cp932User) {
    const Paths& paths = main_->context().paths();
    const std::string ownTitle = cp932Of(kWeakSetTitle);
    WeakKeysFiles files;
    files.keyStats = paths.userFile(cp932User, ".kst");
    std::vector<std::string> titles = paths.setTitles();
    std::sort(titles.begin(), titles.end());  // ties between questions follow the titles
    for (const std::string& title : titles)
        if (title != ownTitle) files.sets.push_back(paths.setFile(title));
    files.practiceSet = paths.setFileForWriting(ownTitle);

    QWidget* owner = QApplication::activeModalWidget();
    auto asUser = [this, cp932User]() -> const VariantTable& {
        TSetting& setting = made().setting_;
        main_->selectUser(cp932User);
        setting.loadFor(main_->currentUser());
        return setting.variants();
    };
    TWeakKeys window(main_->context(), cp932User, std::move(files), asUser, owner ? owner : main_.get());
    const std::string ini = paths.userFile(cp932User, ".ini");
    if (fileExists(ini) && kanaInputChosen(IniDocument(loadStringFromFile(ini)))) window.useKanaLayout();
    window.load();
    window.exec();
    if (!window.practiceRequested()) return false;
    main_->selectTitle(ownTitle);
    return true;
}

}  // namespace keyrook
