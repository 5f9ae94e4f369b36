#include "records/weak_keys_window.h"

#include <QHeaderView>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTreeWidget>

#include "app/ui/app_context.h"
#include "base/cp932.h"
#include "base/files.h"
#include "records/history.h"
#include "typing/scoring.h"
#include "records/weak_key_set.h"
#include "widgets/command_table.h"
#include "widgets/fixed_dialog.h"
#include "widgets/look.h"
#include "widgets/qt_services.h"
#include "widgets/radio_group.h"
#include "widgets/shape.h"
#include "widgets/trend_chart.h"

namespace keyrook {
namespace {

constexpr const char* kNotEnoughData =
    "まだﾃﾞｰﾀが足りません。練習を何回か記録してから使って下さい。";
constexpr const char* kNoQuestion = "苦手ｷｰを含む問題が見つかりません。";

const QColor kNoDataFill(0x20, 0x20, 0x20);
const QColor kNoDataPen(0x50, 0x50, 0x50);
const QColor kNoDataText(0x68, 0x68, 0x68);
const QColor kChosenPen(0xFF, 0xFF, 0x00);

// The reflex game's rows with the digits row, "-", "!", "?" and the space bar: every character
// the code alphabet types.
const KeyboardLayout& heatKeyboard() {
    static const KeyboardLayout layout{{{16, 52, "1234567890-"},
                                        {36, 92, "QWERTYUIOP"},
                                        {46, 132, "ASDFGHJKL;"},
                                        {66, 172, "ZXCVBNM,./"},
                                        {86, 212, "!?_"}},
                                       40, 36, 196, true};
    return layout;
}

// The JIS kana layout by legend (half-width katakana), its shifted kana and signs beneath: every
// key a kana session counts, bar the digits.
const KeyboardLayout& kanaHeatKeyboard() {
    static const std::string rows[] = {cp932Of("ﾇﾌｱｳｴｵﾔﾕﾖﾜﾎﾍｰ"), cp932Of("ﾀﾃｲｽｶﾝﾅﾆﾗｾﾞﾟ"),
                                       cp932Of("ﾁﾄｼﾊｷｸﾏﾉﾘﾚｹﾑ"), cp932Of("ﾂｻｿﾋｺﾐﾓﾈﾙﾒﾛ"),
                                       cp932Of("ｧｨｩｪｫｬｭｮｯｦ"), cp932Of("､｡･｢｣!?_")};
    static const KeyboardLayout layout{{{16, 48, rows[0].c_str()},
                                        {30, 82, rows[1].c_str()},
                                        {38, 116, rows[2].c_str()},
                                        {52, 150, rows[3].c_str()},
                                        {30, 184, rows[4].c_str()},
                                        {30, 218, rows[5].c_str()}},
                                       34, 30, 98, true};
    return layout;
}

// The legend's scale: the window's black to full red.
QPixmap heatScale(int width, int height) {
    QPixmap pm(width, height);
    QPainter p(&pm);
    QLinearGradient g(0, 0, width, 0);
    g.setColorAt(0, Qt::black);
    g.setColorAt(1, Qt::red);
    p.fillRect(pm.rect(), g);
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.drawRect(pm.rect().adjusted(0, 0, -1, -1));
    return pm;
}

}  // namespace

TWeakKeys::TWeakKeys(AppContext& app, const std::string& cp932User, WeakKeysFiles files,
                     AsUser asUser, QWidget* parent)
    : QDialog(parent), app_(app), files_(std::move(files)), asUser_(std::move(asUser)) {
    const QFont uiFont =
        fixedDialog(this, "WeakKeys", "苦手ｷｰ分析", kToolFrame, QSize(776, 582), kSilver, 12);
    const QFont bold = pixelFont("MS UI Gothic", 12, true);

    QLabel* caption = addLabel(this, "lblUserCaption", "ﾕｰｻﾞ名 :", 16, 10, uiFont, kSilver);
    addLabel(this, "lblUser", fromCp932(cp932User), 16 + caption->width() + 6, 9,
             pixelFont("MS UI Gothic", 13, true), Qt::white, 200);
    addLabel(this, "lblHint", "※ｷｰにﾏｳｽを重ねると、ﾐｽ率と平均間隔が出ます。", 16, 28, uiFont, kSilver);

    keyboard_ = buildKeyboardPicture(this, pixelFont("Arial", 15, true), Qt::white, heatKeyboard());

    // Legend: the scale of the fill, and how a key without enough presses looks.
    addLabel(this, nullptr, "ﾐｽ率 :", 16, 262, uiFont, kSilver);
    addLabel(this, nullptr, "0 %", 62, 262, uiFont, kSilver);
    auto* scale = new QLabel(this);
    scale->setObjectName("imgScale");
    scale->setPixmap(heatScale(120, 12));
    scale->setGeometry(86, 263, 120, 12);
    addLabel(this, nullptr, QString("%1 % 以上").arg(kFullHeatPercent, 0, 'f', 0), 212, 262, uiFont,
             kSilver);
    auto* sample = new TShape(TShape::Kind::RoundRect, this);
    sample->setGeometry(290, 258, 22, 22);
    sample->setPenColor(kNoDataPen);
    sample->setBrushColor(kNoDataFill);
    addLabel(this, nullptr, QString("ﾃﾞｰﾀ不足 (打鍵数 %1回未満)").arg(kEnoughPresses), 318, 262,
             uiFont, kSilver);

    QLabel* empty = addLabel(this, "lblEmpty",
                             "※まだ記録がありません。練習の結果画面で「OK」を押して記録すると、"
                             "ｷｰごとの成績がここにたまります。",
                             16, 292, uiFont, QColor(0xFF, 0xFF, 0x80), 460,
                             Qt::AlignLeft | Qt::AlignTop);
    empty->setWordWrap(true);
    empty->setFixedHeight(32);

    // The keys pressed instead, most frequent first, in rows of four.
    addLabel(this, "lblConfusionHead", "● よくある誤打 (打つべきｷｰ → 押したｷｰ)", 16, 290, bold, Qt::white);
    const QFont confusionFont = pixelFont("MS UI Gothic", 13, true);
    for (int i = 0; i < kConfusionsShown; ++i)
        addLabel(this, QString("lblConfusion%1").arg(i + 1).toUtf8().constData(), "", 24 + (i % 4) * 116,
                 310 + (i / 4) * 20, confusionFont, QColor(0xFF, 0xA0, 0xA0), 110);

    // The range.
    addLabel(this, "lblRange", "範囲 :", 496, 10, uiFont, kSilver);
    rgpRange_ = new TRadioGroup(this);
    rgpRange_->setObjectName("rgpRange");
    rgpRange_->setGeometry(540, 6, 220, 64);
    rgpRange_->setStyleSheet(kBlackRadioGroupStyle);
    rgpRange_->setLayoutMetrics(3, 8, 19);
    rgpRange_->setItems({"直近10回の記録", "直近50回の記録", "すべての記録"});
    rgpRange_->setItemIndex(0);
    connect(rgpRange_, &TRadioGroup::clicked, this,
            [this] { app_.guarded([this] { rgpRangeClick(); }); });

    // The ten weakest keys.
    addLabel(this, "lblWeakHead", "● 苦手ｷｰ ﾜｰｽﾄ10", 496, 80, bold, Qt::white);
    lstWeak_ = new QTreeWidget(this);
    lstWeak_->setObjectName("lstWeak");
    lstWeak_->setGeometry(496, 98, 264, 214);
    lstWeak_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lstWeak_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lstWeak_->setRootIsDecorated(false);
    lstWeak_->setUniformRowHeights(true);
    lstWeak_->setSelectionMode(QAbstractItemView::NoSelection);
    lstWeak_->setFocusPolicy(Qt::NoFocus);
    lstWeak_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstWeak_->setFont(uiFont);
    lstWeak_->setStyleSheet(
        "QTreeWidget { background: white; color: black; }"
        "QTreeWidget::item { border-right: 1px solid #d0d0d0; border-bottom: 1px solid #d0d0d0; }");
    lstWeak_->setHeaderLabels({"ｷｰ", "打鍵数", "ﾐｽ率", "平均間隔"});
    const int widths[] = {62, 62, 62, 60};
    for (int c = 0; c < 4; ++c) {
        lstWeak_->setColumnWidth(c, widths[c]);
        lstWeak_->headerItem()->setTextAlignment(c, c == 0 ? Qt::AlignCenter
                                                           : Qt::AlignRight | Qt::AlignVCenter);
    }
    lstWeak_->header()->setSectionsClickable(false);
    lstWeak_->header()->setSectionsMovable(false);
    lstWeak_->header()->setStretchLastSection(true);

    // The figures of the whole range.
    auto* frame = new TShape(TShape::Kind::RoundRect, this);
    frame->setObjectName("Shape1");
    frame->setGeometry(496, 322, 264, 66);
    frame->setPenColor(Qt::red);
    frame->setBrushColor(Qt::black);
    const char* names[] = {"lblAccuracy", "lblInterval", "lblKeys", "lblSessions"};
    const char* captions[] = {"正確率", "平均間隔", "判定ｷｰ数", "ｾｯｼｮﾝ数"};
    const QFont value = pixelFont("Tahoma", 13, true);
    for (int i = 0; i < 4; ++i) {
        const int left = 506 + (i % 2) * 128;
        const int top = 334 + (i / 2) * 24;
        addLabel(this, nullptr, captions[i], left, top + 1, uiFont, kSilver);
        addLabel(this, names[i], "", left + 52, top, value, Qt::white, 66,
                 Qt::AlignRight | Qt::AlignVCenter);
    }

    // A chosen key over time.
    addLabel(this, "lblTrendHead", "● ｷｰごとの推移 (週ごとのﾐｽ率、すべての記録)", 16, 398, bold, Qt::white);
    addLabel(this, "lblTrendKey", "", 376, 398, uiFont, Qt::white, 384, Qt::AlignRight | Qt::AlignVCenter);
    keyChart_ = new TTrendChart(this);
    keyChart_->setObjectName("chtKey");
    keyChart_->setGeometry(16, 420, 744, 120);
    keyChart_->setYUnit("%");
    keyChart_->setEmptyText("ｷｰﾎﾞｰﾄﾞのｷｰか苦手ｷｰの行をｸﾘｯｸすると、そのｷｰの週ごとのﾐｽ率が出ます。");
    connect(lstWeak_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        const int row = lstWeak_->indexOfTopLevelItem(item);
        if (row >= 0 && static_cast<std::size_t>(row) < analysis_.weakest.size())
            app_.guarded([this, row] { chooseKey(analysis_.weakest[static_cast<std::size_t>(row)]); });
    });

    const CommandTable table{boxedPushButtons({{}, 12, true, true}), {}, {}, nullptr,
                             [this](const auto& f) { app_.guarded(f); }};
    addCommands(this, table,
                {
                    {"btnPractice", "苦手ｷｰ練習", [this] { btnPracticeClick(); }, QRect(16, 549, 104, 23)},
                    {"btnHelp", "ﾍﾙﾌﾟ", [this] { btnHelpClick(); }, QRect(132, 549, 68, 23)},
                    {"btnClose", "閉じる", [this] { btnCloseClick(); }, QRect(212, 549, 68, 23)},
                });

    centreOnParent(this);
}

QLabel* TWeakKeys::label(const char* name) const { return findChild<QLabel*>(name); }

void TWeakKeys::useKanaLayout() {
    if (kana_) return;
    kana_ = true;
    for (QWidget* w : keyboard_.frames) delete w;
    for (QWidget* w : keyboard_.cells) delete w;
    keyboard_ = buildKeyboardPicture(this, pixelFont("MS UI Gothic", 15, true), Qt::white,
                                     kanaHeatKeyboard());
}

// Only the sessions the chosen range needs are read: the last ten of this layout's sessions in a
// long history come from the end of the file.
void TWeakKeys::load() {
    const int index = rgpRange_->itemIndex();
    const KeyRange range = index == 1 ? KeyRange::Last50 : index == 2 ? KeyRange::All : KeyRange::Last10;
    sessions_ = readLastKeyStats(files_.keyStats, rangeSessions(range), kana_);
    showAnalysis();
}

void TWeakKeys::rgpRangeClick() { load(); }

void TWeakKeys::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton)
        for (std::size_t i = 0; i < keyboard_.frames.size(); ++i)
            if (keyboard_.frames[i]->geometry().contains(e->position().toPoint())) {
                const auto key = keyOf(static_cast<unsigned char>(keyboard_.keys[i]));
                app_.guarded([this, key] { chooseKey(key); });
                return;
            }
    QDialog::mousePressEvent(e);
}

void TWeakKeys::chooseKey(unsigned char key) {
    chosenKey_ = key;
    const std::vector<KeyWeek> weeks = keyMissRateByWeek(files_.keyStats, key, kana_);
    std::vector<TTrendChart::Line> lines(1);
    lines[0].colour = QColor(0xFF, 0x60, 0x60);
    std::uint64_t presses = 0;
    for (const KeyWeek& w : weeks) {
        lines[0].points.emplace_back(static_cast<double>(w.weekStart), w.missRate);
        presses += w.presses;
    }
    if (!weeks.empty()) keyChart_->setXLabel(dayLabels(weeks.front().weekStart, weeks.back().weekStart));
    keyChart_->setEmptyText(QString("ｷｰ %1 の記録がありません。").arg(fromCp932(keyLabel(key))));
    keyChart_->setLines(std::move(lines));
    label("lblTrendKey")
        ->setText(QString("ｷｰ : %1   %2週   打鍵数 %3回")
                      .arg(fromCp932(keyLabel(key)))
                      .arg(weeks.size())
                      .arg(fromCp932(SplitThousand(static_cast<std::int64_t>(presses)))));
    markChosenKey();
}

// The chosen key's frame is drawn in yellow.
void TWeakKeys::markChosenKey() {
    for (std::size_t i = 0; i < keyboard_.keys.size(); ++i) {
        const auto key = static_cast<unsigned char>(keyboard_.keys[i]);
        const bool enough = enoughPresses(analysis_, key);
        keyboard_.frames[i]->setPenColor(keyOf(key) == chosenKey_ && chosenKey_ ? kChosenPen
                                         : enough                              ? kSilver
                                                                               : kNoDataPen);
    }
}

void TWeakKeys::showAnalysis() {
    analysis_ = analyseKeyStats(sessions_, 0);

    for (std::size_t i = 0; i < keyboard_.keys.size(); ++i) {
        const KeyCell cell = keyCell(analysis_, static_cast<unsigned char>(keyboard_.keys[i]));
        TShape* frame = keyboard_.frames[i];
        QLabel* text = keyboard_.cells[i];
        frame->setBrushColor(cell.enough ? rgbColor(cell.fill) : kNoDataFill);
        setTextColor(text, cell.enough ? QColor(Qt::white) : kNoDataText);
        const QString tip = fromCp932(cell.tooltip);
        frame->setToolTip(tip);
        text->setToolTip(tip);
    }

    markChosenKey();

    lstWeak_->clear();
    for (const WeakKeyRow& row : weakKeyRows(analysis_, 10)) {
        auto* item = new QTreeWidgetItem(lstWeak_);
        const std::string* texts[] = {&row.key, &row.presses, &row.missRate, &row.meanInterval};
        for (int c = 0; c < 4; ++c) {
            item->setText(c, fromCp932(*texts[c]));
            item->setTextAlignment(c, c == 0 ? Qt::AlignCenter : Qt::AlignRight | Qt::AlignVCenter);
        }
    }

    const RangeTotals totals = rangeTotals(analysis_);
    label("lblAccuracy")->setText(fromCp932(totals.accuracy));
    label("lblInterval")->setText(fromCp932(totals.meanInterval));
    label("lblKeys")->setText(fromCp932(totals.keys));
    label("lblSessions")->setText(fromCp932(totals.sessions));
    label("lblEmpty")->setVisible(sessions_.empty());

    const std::vector<Confusion> confusions = confusionList(analysis_);
    label("lblConfusionHead")->setVisible(!sessions_.empty());
    for (int i = 0; i < kConfusionsShown; ++i) {
        const auto n = static_cast<std::size_t>(i);
        QString text;
        if (n < confusions.size()) text = fromCp932(confusionText(confusions[n]));
        else if (i == 0 && !sessions_.empty()) text = "---";
        label(QString("lblConfusion%1").arg(i + 1).toUtf8().constData())->setText(text);
    }
}

void TWeakKeys::btnPracticeClick() {
    const std::vector<WeakKey> keys = weakSetKeys(analysis_);
    if (keys.empty()) {
        app_.dialogs().message(kNotEnoughData);
        return;
    }
    const auto text = buildWeakKeySet(files_.sets, keys, asUser_(), kWeakSetQuestions, kana_);
    if (!text) {
        app_.dialogs().message(kNoQuestion);
        return;
    }
    saveStringToFile(files_.practiceSet, *text);
    practiceRequested_ = true;
    accept();
}

void TWeakKeys::btnHelpClick() { app_.Helper(HelpContext::WeakKeys); }

void TWeakKeys::btnCloseClick() { reject(); }

}  // namespace keyrook
