#include "app/program_window.h"

#include <QApplication>

#include <algorithm>

#include "app/main_window.h"
#include "base/cp932.h"
#include "problemsets/maker_window.h"
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

ProgramWindows::ProgramWindows(const Paths& paths, Sounds& sounds, Dialogs& dialogs,
                               Clock& clock, Random& random, Timers* typingTimers)
    : now(localDateTime),
      settings_(std::make_unique<ForwardedSettings>()),
      main_(std::make_unique<TMainForm>(paths, sounds, dialogs)),
      typing_(std::make_unique<TTyping>(*main_, *settings_, clock, random, typingTimers)),
      fin_(std::make_unique<TFin>(*main_, typing_.get())),
      setting_(std::make_unique<TSetting>(*main_, *typing_, *fin_)),
      reflection_(std::make_unique<TReflection>(*main_, clock, random)) {
    settings_->target = setting_.get();
    main_->startPractice = [this] { startPractice(); };
    main_->openWeakKeys = [this](const std::string& user) { return openWeakKeys(user); };
    main_->entryActions[4] = [this] { openInvader(); };
    main_->entryActions[3] = [this] { openRecord(*main_); };
    main_->entryActions[5] = [this] { openReflection(*main_, *reflection_); };
    main_->entryActions[6] = [this] { openTenkey(*main_); };
    main_->entryActions[9] = [this] { setting_->open(main_->currentUser()); };
    main_->entryActions[10] = [this] { openTPMaker(*main_); };
    typing_->openSettings = [this] { main_->entryClick(9); };
    typing_->engine().onEnded = [this] { ViewResult(); };
    typing_->onRowsChanged = [this] { fin_->setRows(typing_->engine().rows()); };
}

ProgramWindows::~ProgramWindows() = default;

void ProgramWindows::startPractice() {
    TMainForm& m = *main_;
    m.hide();
    setting_->applyFonts();
    typing_->preparePractice(m.pager().selectedTitle(), m.currentUser());
    typing_->show();
    typing_->raise();
    typing_->activateWindow();
}

void ProgramWindows::openInvader() {
    TInvader picker(main_.get());
    picker.move(main_->frameGeometry().center() - picker.rect().center());
    picker.onChoose = [this](int level) { startInvader(level); };
    picker.exec();
}

void ProgramWindows::startInvader(int level) {
    typing_->invader().choose(typing_->engine(), level);
    typing_->render();
    typing_->show();
    typing_->raise();
    typing_->activateWindow();
    main_->hide();
}

void ProgramWindows::ViewResult() {
    SessionFigures figures = typing_->engine().sessionFigures();
    figures.user = main_->currentUser();
    figures.ended = now();
    std::string path = main_->paths().userFile(figures.user, ".rec");
    const ResultModel model = makeResult(figures, path);
    fin_->showResult(model, path);
    const KeyStatsCounter& keys = typing_->engine().keyStats();
    if (!figures.invader && !keys.empty()) {
        // Date and title exactly as the record line holds them.
        const std::vector<std::string> fields = splitRecordFields(model.recordLine);
        if (fields.size() >= 3)
            fin_->setKeyStats(main_->paths().userFile(figures.user, ".kst"),
                              keyStatsLine(fields[0], fields[2], keys.counts()));
    }
}

bool ProgramWindows::openWeakKeys(const std::string& cp932User) {
    const Paths& paths = main_->paths();
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
        main_->selectUser(cp932User);
        setting_->loadFor(main_->currentUser());
        return setting_->variants();
    };
    TWeakKeys window(*main_, cp932User, std::move(files), asUser, owner ? owner : main_.get());
    window.load();
    window.exec();
    if (!window.practiceRequested()) return false;
    main_->selectTitle(ownTitle);
    return true;
}

}  // namespace keyrook
