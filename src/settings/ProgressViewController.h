#pragma once

#include "platform/ViewController.h"

#include <QPointer>
#include <QString>
#include <QUrl>

#include <memory>
#include <optional>

class QLabel;
class QProgressBar;
class QPushButton;

namespace Ui {
class ProgressViewController;
}

// The installer download screen: the received byte count and the fraction
// done, with a Cancel button.
class ProgressViewController : public ViewController {
    Q_OBJECT

public:
    explicit ProgressViewController(QWidget* parent = nullptr);
    ~ProgressViewController() override;

    QPointer<QLabel> progressLabel;
    QPointer<QProgressBar> downloadProgressBar;
    QPointer<QPushButton> cancelBtn;
    // The installer's address and the application name, from the update screen.
    std::optional<QUrl> downloadURL;
    std::optional<QString> name;

public slots:
    void onCancelBtnTap();

protected:
    void loadView() override;

private:
    std::unique_ptr<Ui::ProgressViewController> ui;
};
