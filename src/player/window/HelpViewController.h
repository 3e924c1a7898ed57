#pragma once

#include "platform/ui/ViewController.h"

#include <QPointer>

#include <memory>

namespace Ui {
class HelpViewController;
}

// The help screen: the keyboard and mouse controls of the player, as the
// storyboard lays them out, less those the running interface lacks, closed
// with its confirm button.
class HelpViewController : public ViewController {
    Q_OBJECT

public:
    explicit HelpViewController(QWidget* parent = nullptr);
    ~HelpViewController() override;

    QPointer<QWidget> backgroundView;
    QPointer<QWidget> stackView;
    QPointer<QWidget> seperator;
    QPointer<QWidget> leftView;
    QPointer<QWidget> rightView;

public slots:
    void onConfirmBtnTap();

protected:
    void loadView() override;
    void viewDidLayout() override;

private:
    std::unique_ptr<Ui::HelpViewController> ui;
};
