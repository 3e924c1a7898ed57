#include "platform/ui/Storyboard.h"

#include "platform/system/LogCategories.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/WindowController.h"

#include <map>
#include <memory>

Storyboard& Storyboard::named(const QString& name) {
    static std::map<QString, std::unique_ptr<Storyboard>> boards;
    auto it = boards.find(name);
    if (it == boards.end())
        it = boards.emplace(name, std::unique_ptr<Storyboard>(new Storyboard(name))).first;
    return *it->second;
}

Storyboard::ControllerFactory Storyboard::registerController(const QString& identifier,
                                                             ControllerFactory factory) {
    ControllerFactory previous = m_controllers.value(identifier);
    if (factory)
        m_controllers.insert(identifier, std::move(factory));
    else
        m_controllers.remove(identifier);
    return previous;
}

bool Storyboard::hasController(const QString& identifier) const {
    return m_controllers.contains(identifier) || m_windowControllers.contains(identifier);
}

void Storyboard::registerWindowController(const QString& identifier, WindowControllerFactory factory,
                                          const QString& contentIdentifier) {
    m_windowControllers.insert(identifier, WindowEntry{std::move(factory), contentIdentifier});
}

void Storyboard::setInitialController(const QString& identifier) {
    m_initial = identifier;
}

void Storyboard::registerSegue(const QString& identifier, const QString& sourceIdentifier,
                               const QString& destinationIdentifier, SeguePresentation presentation) {
    m_segues.insert(identifier,
                    SegueDefinition{identifier, sourceIdentifier, destinationIdentifier, presentation});
}

std::optional<Storyboard::SegueDefinition> Storyboard::segue(const QString& identifier) const {
    const auto it = m_segues.constFind(identifier);
    if (it == m_segues.constEnd())
        return std::nullopt;
    return *it;
}

ViewController* Storyboard::instantiateController(const QString& identifier) {
    const auto it = m_controllers.constFind(identifier);
    if (it == m_controllers.constEnd() || !*it) {
        qCWarning(platform::lcPlatform, "Storyboard \"%s\": no controller \"%s\"", qPrintable(m_name),
                  qPrintable(identifier));
        return nullptr;
    }
    ViewController* controller = (*it)();
    if (controller) {
        controller->m_storyboard = this;
        controller->m_storyboardIdentifier = identifier;
    }
    return controller;
}

ViewController* Storyboard::instantiateInitialController() {
    if (m_initial.isEmpty() || !m_controllers.contains(m_initial))
        return nullptr;
    return instantiateController(m_initial);
}

WindowController* Storyboard::instantiateInitialWindowController() {
    const auto it = m_windowControllers.constFind(m_initial);
    if (it == m_windowControllers.constEnd() || !it->factory) {
        qCWarning(platform::lcPlatform, "Storyboard \"%s\": no initial window controller",
                  qPrintable(m_name));
        return nullptr;
    }
    WindowController* controller = it->factory();
    if (!controller)
        return nullptr;
    controller->loadWindow();
    if (!it->contentIdentifier.isEmpty()) {
        if (ViewController* content = instantiateController(it->contentIdentifier))
            controller->setContentViewController(content);
    }
    return controller;
}

void Storyboard::clear() {
    m_controllers.clear();
    m_windowControllers.clear();
    m_segues.clear();
    m_initial.clear();
}

// Performing a segue is the storyboard's work: it looks the segue up, makes the destination and
// lets the source prepare it before presenting it.
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
