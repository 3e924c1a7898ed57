#pragma once

#include "platform/ui/StoryboardSegue.h"

#include <QHash>
#include <QString>

#include <functional>
#include <optional>

class ViewController;
class WindowController;

// A named set of screens ("Main"): controllers made by identifier from
// registered factories, one window controller that holds the first screen,
// and the segue table. Used on the main thread only.
class Storyboard {
public:
    using ControllerFactory = std::function<ViewController*()>;
    using WindowControllerFactory = std::function<WindowController*()>;

    // One row of the segue table.
    struct SegueDefinition {
        QString identifier;
        QString sourceIdentifier;      // the controller that performs it (informative)
        QString destinationIdentifier; // the controller it makes and presents
        SeguePresentation presentation = SeguePresentation::Sheet;
    };

    // The process-wide storyboard called `name`, created empty on first use.
    static Storyboard& named(const QString& name);

    const QString& name() const { return m_name; }

    // Registers (or replaces) the factory of the controller `identifier`;
    // returns the factory it replaced, if any.
    ControllerFactory registerController(const QString& identifier, ControllerFactory factory);
    bool hasController(const QString& identifier) const;

    // Registers the window controller `identifier`, whose window shows the
    // controller `contentIdentifier` first.
    void registerWindowController(const QString& identifier, WindowControllerFactory factory,
                                  const QString& contentIdentifier);
    // The controller (view or window) that instantiateInitial* makes.
    void setInitialController(const QString& identifier);
    const QString& initialControllerIdentifier() const { return m_initial; }

    // Adds (or replaces) a row of the segue table.
    void registerSegue(const QString& identifier, const QString& sourceIdentifier,
                       const QString& destinationIdentifier, SeguePresentation presentation);
    std::optional<SegueDefinition> segue(const QString& identifier) const;

    // A new controller for `identifier`, its view not loaded yet; nullptr
    // (with a line on stderr) when no factory is registered under it.
    ViewController* instantiateController(const QString& identifier);
    // The initial controller when it is a view controller, else nullptr.
    ViewController* instantiateInitialController();
    // The initial controller when it is a window controller, with its first
    // content controller set; nullptr when the initial one is not a window
    // controller or a factory is missing.
    WindowController* instantiateInitialWindowController();

    // Forgets every registration (tests).
    void clear();

private:
    explicit Storyboard(QString name) : m_name(std::move(name)) {}

    struct WindowEntry {
        WindowControllerFactory factory;
        QString contentIdentifier;
    };

    QString m_name;
    QHash<QString, ControllerFactory> m_controllers;
    QHash<QString, WindowEntry> m_windowControllers;
    QHash<QString, SegueDefinition> m_segues;
    QString m_initial;
};
