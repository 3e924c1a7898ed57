#include "platform/ui/ViewController.h"

#include "platform/ui/ModalSession.h"

#include <QCloseEvent>
#include <QHideEvent>
#include <QKeyEvent>
#include <QMetaObject>
#include <QPushButton>
#include <QResizeEvent>
#include <QShowEvent>

ViewController::ViewController(QWidget* parent) : QWidget(parent) {}

ViewController::~ViewController() = default;

QWidget* ViewController::view() {
    loadViewIfNeeded();
    return this;
}

void ViewController::loadViewIfNeeded() {
    if (m_viewLoaded)
        return;
    m_viewLoaded = true;
    loadView();
    viewDidLoad();
}

void ViewController::prepareForSegue(const StoryboardSegue&, const QVariant&) {}

void ViewController::presentViewController(ViewController* controller, SeguePresentation presentation) {
    if (!controller || controller == this)
        return;
    controller->m_presenting = this;

    Qt::WindowFlags flags = presentation == SeguePresentation::Show ? Qt::Window : Qt::Dialog;
    controller->setParent(this, flags);
    switch (presentation) {
    case SeguePresentation::Sheet:
        controller->setWindowModality(Qt::WindowModal);
        break;
    case SeguePresentation::Modal:
        controller->setWindowModality(Qt::ApplicationModal);
        break;
    case SeguePresentation::Show:
        controller->setWindowModality(Qt::NonModal);
        break;
    }
    controller->loadViewIfNeeded();
    if (controller->windowTitle().isEmpty())
        controller->setWindowTitle(window()->windowTitle());

    // Centre it over the presenting window, as a sheet or dialog would sit.
    const QWidget* host = window();
    QSize size = controller->size();
    if (!controller->testAttribute(Qt::WA_Resized))
        size = controller->sizeHint().expandedTo(controller->minimumSize());
    controller->resize(size);
    const QPoint centre = host->mapToGlobal(host->rect().center());
    controller->move(centre - QPoint(size.width() / 2, size.height() / 2));
    controller->show();
    controller->raise();
    controller->activateWindow();
}

void ViewController::dismiss() {
    if (!m_presenting) {
        hide();
        return;
    }
    QPointer<QWidget> presentingWindow = m_presenting->window();
    hide();
    endAppearance();
    m_presenting = nullptr;
    deleteLater();
    ModalSession::activate(presentingWindow);
}

bool ViewController::cancelOperation() {
    if (!m_presenting)
        return false;
    dismiss();
    return true;
}

void ViewController::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::NoModifier) {
        if (event->key() == Qt::Key_Escape && cancelOperation()) {
            event->accept();
            return;
        }
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            for (QPushButton* button : findChildren<QPushButton*>()) {
                if (button->isDefault() && button->isEnabled() && button->isVisibleTo(this)) {
                    event->accept();
                    button->click();
                    return;
                }
            }
        }
    }
    QWidget::keyPressEvent(event);
}

void ViewController::dismissViewController(ViewController* controller) {
    if (controller == this || (controller && controller->m_presenting == this))
        controller->dismiss();
}

void ViewController::beginAppearance() {
    loadViewIfNeeded();
    if (m_appeared)
        return;
    m_appeared = true;
    const quint64 generation = ++m_appearanceGeneration;
    viewWillAppear();
    // The view is on screen once the show in progress has finished.
    QMetaObject::invokeMethod(
        this,
        [this, generation] {
            if (m_appeared && generation == m_appearanceGeneration)
                viewDidAppear();
        },
        Qt::QueuedConnection);
}

void ViewController::endAppearance() {
    if (!m_appeared)
        return;
    m_appeared = false;
    ++m_appearanceGeneration;
    viewWillDisappear();
    viewDidDisappear();
}

void ViewController::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Spontaneous show events come from the window system (a window restored
    // from being miniaturised); the window controller reports those itself.
    if (!event->spontaneous())
        beginAppearance();
}

void ViewController::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!event->spontaneous())
        endAppearance();
}

void ViewController::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (m_viewLoaded)
        viewDidLayout();
}

void ViewController::closeEvent(QCloseEvent* event) {
    // Closing a presented controller's window is a dismissal like any other.
    if (m_presenting && isWindow()) {
        event->accept();
        dismiss();
        return;
    }
    QWidget::closeEvent(event);
}
