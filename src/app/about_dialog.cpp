#include "app/about_dialog.h"

#include <QAbstractButton>
#include <QDesktopServices>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QUrl>

#include "app/ui/app_context.h"
#include "widgets/fixed_dialog.h"
#include "widgets/look.h"
#include "widgets/round_button.h"

namespace keyrook {

const char* const TAbout::kSiteAddress = "https://keyrook.example.org/";
const char* const TAbout::kProblemSetAddress = "https://keyrook.example.org/problems/";
std::function<void(const QUrl&)> TAbout::openUrl = [](const QUrl& url) {
    QDesktopServices::openUrl(url);
};

namespace {

// The pictures of the About box's round buttons.
enum class Picture { Home, Books, Crown, Key };

TRoundButton::Picture drawn(Picture picture) {
    return [picture](QPainter& p, qreal w, qreal h) {
        switch (picture) {
            case Picture::Home: {
                QPainterPath roof;
                roof.moveTo(w * 0.25, h * 0.5);
                roof.lineTo(w * 0.5, h * 0.27);
                roof.lineTo(w * 0.75, h * 0.5);
                p.drawPath(roof);
                p.drawRect(QRectF(w * 0.33, h * 0.5, w * 0.34, h * 0.24));
                break;
            }
            case Picture::Books:
                for (int i = 0; i < 3; ++i)
                    p.drawRect(QRectF(w * (0.27 + i * 0.16), h * 0.3, w * 0.12, h * 0.42));
                break;
            case Picture::Crown: {
                QPainterPath crown;
                crown.moveTo(w * 0.25, h * 0.7);
                crown.lineTo(w * 0.25, h * 0.35);
                crown.lineTo(w * 0.38, h * 0.52);
                crown.lineTo(w * 0.5, h * 0.3);
                crown.lineTo(w * 0.62, h * 0.52);
                crown.lineTo(w * 0.75, h * 0.35);
                crown.lineTo(w * 0.75, h * 0.7);
                crown.closeSubpath();
                p.drawPath(crown);
                break;
            }
            case Picture::Key:
                p.setFont(pixelFont("Century Gothic", static_cast<int>(h * 0.5), true));
                p.drawRoundedRect(QRectF(w * 0.24, h * 0.24, w * 0.52, h * 0.52), 4, 4);
                p.drawText(QRectF(0, 0, w, h), Qt::AlignCenter, "K");
                break;
        }
    };
}

}  // namespace

TAbout::TAbout(AppContext& app) : QDialog(&app.mainWindow()), app_(app) {
    fixedDialog(this, "About", "このｿﾌﾄについて...", kDialogFrame, QSize(456, 260), Qt::white, 0);

    placeLabel(this, "Keyrook", 20, 14, pixelFont("Century Gothic", 37), kSilver);
    auto* logo = new TRoundButton(56, drawn(Picture::Key), this);
    logo->move(196, 10);
    logo->setCursor(Qt::ArrowCursor);
    placeLabel(this, "Keyrook", 392, 6, pixelFont("Century Gothic", 12), kSilver);

    struct Link {
        Picture picture;
        const char* caption;
    };
    const Link links[3] = {
        {Picture::Home, "ソフトの最新版を取りに行きます。"},
        {Picture::Books, "様々なジャンルの問題集を取りに行きます！"},
        {Picture::Crown, "ランキングはお待ち下さい！"},
    };
    for (int i = 0; i < 3; ++i) {
        auto* b = new TRoundButton(34, drawn(links[i].picture), this);
        b->setObjectName(QString("btnLink%1").arg(i + 1));
        b->move(24 + i * 40, 80 + i * 40);
        links_[i] = b;
        placeLabel(this, links[i].caption, 66 + i * 40, 89 + i * 40, pixelFont("MS UI Gothic", 12),
                 Qt::white);
    }
    placeLabel(this, "現在ﾗﾝｷﾝｸﾞはCGI自動転送ｼｽﾃﾑを", 24, 208, pixelFont("MS UI Gothic", 12), kSilver);
    placeLabel(this, "開発中なのでﾊﾞｰｼﾞｮﾝｱｯﾌﾟまでお待ち下さい...", 24, 224,
             pixelFont("MS UI Gothic", 12), kSilver);
    placeLabel(this, "ver1.28", 300, 236, pixelFont("Arial", 12), kSilver);

    auto* close = new QPushButton("閉じる", this);
    close->setObjectName("btnClose");
    close->setGeometry(368, 228, 72, 24);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    connect(links_[0], &QAbstractButton::clicked, this, [this] {
        if (app_.dialogs().confirm("制作先のサイトへジャンプしますか？"))
            openUrl(QUrl(QString::fromLatin1(kSiteAddress)));
    });
    connect(links_[1], &QAbstractButton::clicked, this, [this] {
        if (app_.dialogs().confirm("問題集を取りに行きますか？？"))
            openUrl(QUrl(QString::fromLatin1(kProblemSetAddress)));
    });
    // The ranking button has nothing behind it yet.
}

}  // namespace keyrook
