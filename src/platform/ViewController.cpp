#include "platform/ViewController.h"

#include "platform/LogCategories.h"
#include "platform/Storyboard.h"
#include "platform/WindowController.h"

#include <QCloseEvent>
#include <QHideEvent>
#include <QMetaObject>
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

WindowController* ViewController::windowController() const {
    return WindowController::controllerOf(this);
}

void ViewController::prepareForSegue(const StoryboardSegue&, const QVariant&) {}

ViewController* ViewController::performSegue(const QString& identifier, const QVariant& sender) {
    Storyboard& board = m_storyboard ? *m_storyboard : Storyboard::named(QStringLiteral("Main"));
    const std::optional<Storyboard::SegueDefinition> definition = board.segue(identifier);
    if (!definition) {
        qCWarning(platform::lcPlatform, "performSegue: no segue \"%s\" in storyboard \"%s\"",
                  qPrintable(identifier), qPrintable(board.name()));
        return nullptr;
    }
    ViewController* destination = board.instantiateController(definition->destinationIdentifier);
    if (!destination)
        return nullptr;
    const StoryboardSegue segue(identifier, this, destination, definition->presentation);
    prepareForSegue(segue, sender);
    presentViewController(destination, definition->presentation);
    return destination;
}

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
    hide();
    endAppearance();
    m_presenting = nullptr;
    deleteLater();
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
