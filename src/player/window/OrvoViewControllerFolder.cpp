// The window player's folder opening, recording list, search and kind filter:
// thin entries onto FolderOpener and RecordingListBuilder, which hold the logic.

#include "player/window/OrvoViewController.h"

#include "playback/RecordingPlayback.h"

#include "controls/OrvoImgBtnCell.h"
#include "controls/OrvoPopupBtnCell.h"
#include "library/FolderOpener.h"
#include "library/RecordingListBuilder.h"
#include "platform/ui/OpenPanel.h"
#include "platform/ui/showAlert.h"
#include "shared/DefaultsKeys.h"
#include "shared/PlayerState.h"

#include "metadata/FFmpeg.h"
#include "metadata/RecordingList.h"
#include "platform/system/Localization.h"
#include "platform/system/UserDefaults.h"
#include "platform/system/Volumes.h"

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>

#include <thread>

// The reader, list builder and folder opener of one window player.
struct OrvoViewController::FolderOpening {
    FFmpeg reader;
    RecordingListBuilder builder{reader};
    FolderOpener opener{builder};
};

FolderOpener& OrvoViewController::folderOpener() {
    if (!m_folderOpening) {
        m_folderOpening = std::make_shared<FolderOpening>();
        // The first fixes of a card are parsed side by side; they are applied in list order.
        m_folderOpening->builder.setFirstFixThreads(
            int(std::max(1u, std::min(8u, std::thread::hardware_concurrency()))));
        RecordingListOutlets& outlets = m_folderOpening->builder.outlets();
        // The outlets are read at each use: they exist only once the view has loaded.
        outlets.stopPlayback = [this] { stopPlayback(); };
        outlets.reloadTable = [this] { reloadTableData(); };
        outlets.selectFirstCategory = [this] {
            if (tableSortingMenu && tableSortingMenu->count() > 0)
                tableSortingMenu->setCurrentIndex(0);
        };
        outlets.setCardTexts = [this](const QString& model, const QString& version) {
            if (modelText)
                modelText->setText(model);
            if (versionTxt)
                versionTxt->setText(version);
        };
        FolderOpener::Hooks& hooks = m_folderOpening->opener.hooks();
        hooks.releaseOrvoPlayer = [this] { orvoPlayer = nullptr; };
        hooks.pausePlayers = [this] { m_playback->pause(); };
        hooks.emptyPlayers = [this] {
            m_playback->pause();
            for (Player* player : std::as_const(players))
                player->replaceCurrentItemWithPlayerItem(nullptr);
        };
        hooks.startPlayers = [this] {
            for (Player* player : std::as_const(players)) {
                player->play();
                playState = 1;
            }
        };
    }
    return m_folderOpening->opener;
}

void OrvoViewController::openFileVolume(const QUrl& url) {
    folderOpener().openFileVolume(url);
}

void OrvoViewController::playInBookMark() {
    folderOpener().playInBookMark();
}

void OrvoViewController::didBookMarkChanged() {
    folderOpener().didBookMarkChanged();
}

void OrvoViewController::scanRemovableVolumes() {
    folderOpener().scanRemovableVolumes();
}

void OrvoViewController::validateCardVolumes(const QList<QUrl>& volumes) {
    folderOpener().validateCardVolumes(volumes);
}

void OrvoViewController::buildRecordingList(const QList<QUrl>& files) {
    folderOpener().builder().buildRecordingList(files);
}

void OrvoViewController::onOpenBtnTap() {
    FolderOpener& opener = folderOpener();
    const FolderOpener::Hooks& hooks = opener.hooks();
    if (hooks.pausePlayers)
        hooks.pausePlayers();
    if (playPauseBtn)
        playPauseBtn->setImageName(QStringLiteral("btn_all_play"));

    QFileDialog panel(this);
    const QList<QUrl> volumes = Volumes::mountedVolumeURLs(true);
    const QVariant stored =
        UserDefaults::standard().object(QString::fromLatin1(DefaultsKey::kSDcardDirectory));
    std::optional<QUrl> lastDirectory;
    if (stored.isValid() && !stored.toUrl().isEmpty())
        lastDirectory = stored.toUrl();
    if (const std::optional<QUrl> start = openPanelStartDirectory(lastDirectory, volumes))
        panel.setDirectoryUrl(*start);
    panel.setWindowTitle(localized("Choose video file or directory"));
    panel.setSizeGripEnabled(true);
    // Folders are what the panel is for; the files inside stay visible.
    panel.setFileMode(QFileDialog::Directory);
    panel.setOption(QFileDialog::ShowDirsOnly, false);
    panel.setOption(QFileDialog::ReadOnly, true);
    panel.setFilter(QDir::AllEntries | QDir::NoDotAndDotDot);

    if (OpenPanel::run(panel) == QDialog::Accepted) {
        const QList<QUrl> chosen = panel.selectedUrls();
        if (chosen.isEmpty() || chosen.first().isEmpty()) {
            showAlert(QStringLiteral("Path Component Error"),
                      QStringLiteral("Please open another directory."));
            return;
        }
        const QUrl url = chosen.first();
        UserDefaults::standard().set(QString::fromLatin1(DefaultsKey::kSDcardDirectory), url);
        openFileVolume(url);
        if (hooks.pausePlayers)
            hooks.pausePlayers();
        if (hooks.emptyPlayers)
            hooks.emptyPlayers();
        if (videoContentView)
            videoContentView->hide();
        return;
    }
    // Cancelled: the players start again, whatever they did before.
    if (hooks.startPlayers)
        hooks.startPlayers();
    if (playPauseBtn)
        playPauseBtn->setImageName(QStringLiteral("btn_all_pause"));
}

void OrvoViewController::onSearchFieldChanged() {
    folderOpener().builder().onSearchFieldChanged(orvoSearchField ? orvoSearchField->text() : QString());
}

void OrvoViewController::onTableSortMenuTap() {
    std::optional<QString> title;
    if (tableSortingMenu && tableSortingMenu->currentIndex() >= 0)
        title = tableSortingMenu->currentText();
    folderOpener().builder().onTableSortMenuTap(title);
}
