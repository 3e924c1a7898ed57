#pragma once

#include "platform/ViewController.h"

#include <QPointer>
#include <QStringList>

#include <memory>
#include <optional>

class QCheckBox;
class QLabel;
class QProgressBar;
class QWidget;
class OrvoPopupBtnCell;
class UpdateProgressView;

namespace Ui {
class SettingViewController;
}

// The settings screen: interface language, automatic update, the player's
// version, the memory card's capacity and the card downloads.
class SettingViewController : public ViewController {
    Q_OBJECT

public:
    explicit SettingViewController(QWidget* parent = nullptr);
    ~SettingViewController() override;

    QPointer<QWidget> volumeView;
    QPointer<QLabel> volumeTxt;
    QPointer<QProgressBar> volumeProgress;
    QPointer<QWidget> updateView;
    QPointer<OrvoPopupBtnCell> languageMenu;
    QPointer<QLabel> versionTxt;
    QPointer<QWidget> autoView;
    QPointer<QCheckBox> autoUpdateBox;
    // The spinner shown during card downloads.
    QPointer<QProgressBar> updateProgress;
    // The overlay over the screen during card downloads.
    QPointer<UpdateProgressView> updateProgressView;
    // The language chosen in the menu during this showing; none until one is picked.
    std::optional<QStringList> langunage;

public slots:
    void onLanguageMenuTap();
    void onConfirmBtnTap();
    void onFirmUpdateBtnTap();
    void onSpeedUpdateBtnTap();

protected:
    void loadView() override;

private:
    std::unique_ptr<Ui::SettingViewController> ui;
};
