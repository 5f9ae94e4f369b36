#include "problemsets/maker_readings_window.h"

#include <QAction>
#include <QBoxLayout>
#include <QFrame>
#include <QListWidget>
#include <QMenu>
#include <QToolButton>

#include <Qsci/qsciscintilla.h>

#include "widgets/qt_services.h"

namespace keyrook {
namespace {

const char kFillHint[] = "読みの行が空の問題（選択中は選択した問題）に、解析結果の読みを補完します。";

QString missingHint() {
    return QString("読みの補完にはMeCabと辞書が必要です（Debianのパッケージ: %1）").arg(kSuggesterPackages);
}

}  // namespace

void replaceEditorLines(QsciScintilla& e, const std::vector<LineEdit>& edits) {
    e.SendScintilla(QsciScintilla::SCI_BEGINUNDOACTION);
    for (const LineEdit& edit : edits) {
        const QByteArray text = qs(edit.text).toUtf8();
        const long length = e.SendScintilla(QsciScintilla::SCI_GETLENGTH);
        const long lineCount = e.SendScintilla(QsciScintilla::SCI_GETLINECOUNT);
        // A final line end starts no further line of the list: the last Scintilla line then
        // is not one.
        const bool endsInBreak = length > 0 && e.SendScintilla(QsciScintilla::SCI_GETCHARAT, length - 1) == '\n';
        const long listCount = length == 0 ? 0 : endsInBreak ? lineCount - 1 : lineCount;
        if (edit.row < listCount) {
            const auto row = static_cast<unsigned long>(edit.row);
            e.SendScintilla(QsciScintilla::SCI_SETTARGETSTART, e.SendScintilla(QsciScintilla::SCI_POSITIONFROMLINE, row));
            e.SendScintilla(QsciScintilla::SCI_SETTARGETEND, e.SendScintilla(QsciScintilla::SCI_GETLINEENDPOSITION, row));
            e.SendScintilla(QsciScintilla::SCI_REPLACETARGET, static_cast<unsigned long>(text.size()), text.constData());
        } else {
            const QByteArray added = length == 0 || endsInBreak ? text + '\n' : '\n' + text;
            e.SendScintilla(QsciScintilla::SCI_APPENDTEXT, static_cast<unsigned long>(added.size()), added.constData());
        }
    }
    e.SendScintilla(QsciScintilla::SCI_ENDUNDOACTION);
}

MakerReadingCommands::MakerReadingCommands(QWidget* window, MakerEngine& engine, QsciScintilla* editor,
                                           QListWidget* lstError,
                                           std::function<void(const std::function<void()>&)> run,
                                           std::function<void()> status)
    : QObject(window), engine_(engine), editor_(editor), lstError_(lstError), run_(std::move(run)),
      suggester_(openMecabSuggester()) {
    engine_.setSuggester(suggester_.get());
    const bool on = engine_.suggestionsAvailable();

    fill_ = new QAction("読みを補完(&K)", window);
    fill_->setObjectName("mnuFillReadings");
    fill_->setShortcut(QKeySequence("Ctrl+R"));
    fill_->setShortcutContext(Qt::WindowShortcut);
    accept_ = new QAction("解析結果の読みを採用(&J)", window);
    accept_->setObjectName("mnuAcceptReading");
    accept_->setShortcutContext(Qt::WindowShortcut);
    for (QAction* a : {fill_, accept_}) {
        a->setEnabled(on);
        a->setToolTip(on ? QString(a == fill_ ? kFillHint : "選択中の[確認]の行に解析結果の読みを書き込みます。")
                         : missingHint());
        window->addAction(a);
    }
    connect(accept_, &QAction::triggered, this, &MakerReadingCommands::acceptSuggestion);

    lstError_->setContextMenuPolicy(Qt::ActionsContextMenu);
    lstError_->addAction(accept_);
    // The question count follows every edit.
    connect(editor_, &QsciScintilla::textChanged, this, [this, status] {
        engine_.textChanged();
        status();
    });
}

MakerReadingCommands::~MakerReadingCommands() { engine_.setSuggester(nullptr); }

void MakerReadingCommands::install(QWidget* toolBar, QMenu* editMenu, const QIcon& icon) {
    auto* button = new QToolButton(toolBar);
    button->setObjectName("btnFillReadings");
    button->setIcon(icon);
    button->setIconSize(QSize(16, 16));
    button->setFixedSize(23, 22);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setEnabled(fill_->isEnabled());
    button->setToolTip(fill_->toolTip());
    connect(button, &QToolButton::clicked, this, &MakerReadingCommands::fillReadings);
    // The menu item runs its tool-bar twin, as the maker's other items do.
    connect(fill_, &QAction::triggered, button, &QToolButton::click);
    if (auto* row = qobject_cast<QBoxLayout*>(toolBar->layout())) {
        auto* line = new QFrame(toolBar);
        line->setFrameShape(QFrame::VLine);
        line->setFrameShadow(QFrame::Sunken);
        line->setFixedSize(8, 20);
        const int end = row->count() > 0 && row->itemAt(row->count() - 1)->spacerItem() ? row->count() - 1 : row->count();
        row->insertWidget(end, line);
        row->insertWidget(end + 1, button);
    }
    editMenu->setToolTipsVisible(true);
    editMenu->addSeparator();
    editMenu->addAction(fill_);
    editMenu->addAction(accept_);
}

void MakerReadingCommands::fillReadings() {
    std::optional<RowRange> rows;
    if (editor_->hasSelectedText()) {
        int lineFrom = 0, indexFrom = 0, lineTo = 0, indexTo = 0;
        editor_->getSelection(&lineFrom, &indexFrom, &lineTo, &indexTo);
        // A selection of whole lines ends at the start of the next one.
        if (indexTo == 0 && lineTo > lineFrom) --lineTo;
        rows = RowRange{lineFrom, lineTo};
    }
    run_([this, rows] { engine_.fillReadings(rows); });
}

void MakerReadingCommands::acceptSuggestion() {
    const int row = lstError_->currentRow();
    run_([this, row] { engine_.acceptSuggestion(row); });
}

}  // namespace keyrook
