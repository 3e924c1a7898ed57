#pragma once

#include <QString>

class ViewController;

// How a segue shows its destination.
enum class SeguePresentation {
    Sheet, // a window-modal dialog attached to the source's window
    Modal, // an application-modal window
    Show,  // a separate, non-modal window
};

// One performance of a storyboard segue: its identifier, the controller that
// performs it and the freshly made controller it presents. Handed to the
// source's prepareForSegue before the destination's view loads.
class StoryboardSegue {
public:
    StoryboardSegue(QString identifier, ViewController* source, ViewController* destination,
                    SeguePresentation presentation)
        : m_identifier(std::move(identifier)), m_source(source), m_destination(destination),
          m_presentation(presentation) {}

    const QString& identifier() const { return m_identifier; }
    ViewController* sourceController() const { return m_source; }
    ViewController* destinationController() const { return m_destination; }
    SeguePresentation presentation() const { return m_presentation; }

private:
    QString m_identifier;
    ViewController* m_source;
    ViewController* m_destination;
    SeguePresentation m_presentation;
};
