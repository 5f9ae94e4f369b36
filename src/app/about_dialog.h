// "このｿﾌﾄについて...": the product, its version and the two web links.
#pragma once

#include <QDialog>

#include <functional>

class QAbstractButton;
class QUrl;

namespace keyrook {

class AppContext;

class TAbout : public QDialog {
    Q_OBJECT
public:
    static const char* const kSiteAddress;
    static const char* const kProblemSetAddress;

    explicit TAbout(AppContext& app);

    // Opens a web address; the program uses the desktop's handler, tests replace it.
    static std::function<void(const QUrl&)> openUrl;

    QAbstractButton* linkButton(int index) const { return links_[index]; }

private:
    AppContext& app_;
    QAbstractButton* links_[3]{};
};

}  // namespace keyrook
