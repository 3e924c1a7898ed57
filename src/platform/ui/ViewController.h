#pragma once

#include "platform/ui/StoryboardSegue.h"

#include <QPointer>
#include <QString>
#include <QVariant>
#include <QWidget>

class Storyboard;
class WindowController;
class QCloseEvent;
class QKeyEvent;

// A screen's controller and its view in one widget.
//
// Life cycle, called by the platform:
// - loadView() then viewDidLoad(): once, the first time the view is needed
//   (loadViewIfNeeded(), view(), presentation, becoming a window's content).
//   A screen builds its widgets (ui->setupUi(this)) in loadView(), so that
//   properties set before presentation (prepareForSegue) are in place when
//   viewDidLoad() runs.
// - viewWillAppear(), viewDidAppear(): when the view is shown (in its window,
//   presented, or the window is restored from being miniaturised).
// - viewWillDisappear(), viewDidDisappear(): when it is hidden, dismissed,
//   replaced as a window's content, or its window is miniaturised.
// - viewDidLayout(): after the view has been resized and its children laid out.
// Overrides need not call the base versions (they do nothing).
//
// Keys a screen's focused control does not use itself: Escape calls
// cancelOperation(), Return and Enter click the screen's default button. When a
// presented screen closes, the window that presented it is active again.
class ViewController : public QWidget {
    Q_OBJECT

public:
    explicit ViewController(QWidget* parent = nullptr);
    ~ViewController() override;

    // The view, loaded first if needed.
    QWidget* view();
    bool isViewLoaded() const { return m_viewLoaded; }
    void loadViewIfNeeded();
    // Whether the view is between viewWillAppear and viewWillDisappear.
    bool isAppeared() const { return m_appeared; }

    // Performs the segue `identifier` of the storyboard this controller came
    // from: makes the destination, calls prepareForSegue(segue, sender) on this
    // controller, then presents the destination (whose view loads then).
    // Returns the destination, or nullptr (with a line on stderr) when the
    // storyboard has no such segue or cannot make its destination.
    ViewController* performSegue(const QString& identifier, const QVariant& sender = {});

    // Presents `controller` from this one (taking ownership of it).
    void presentViewController(ViewController* controller, SeguePresentation presentation);
    // Closes this controller when it was presented: it disappears, leaves its
    // presenter and is deleted later. A controller not presented is hidden.
    void dismiss();
    // Closes `controller`, one presented by this controller (or this one itself).
    void dismissViewController(ViewController* controller);

    ViewController* presentingViewController() const { return m_presenting; }
    // The controller of the window showing this view; nullptr when there is none.
    WindowController* windowController() const;
    // The storyboard that made this controller; nullptr when made directly.
    Storyboard* storyboard() const { return m_storyboard; }
    // The identifier the storyboard made it under.
    const QString& storyboardIdentifier() const { return m_storyboardIdentifier; }

    // The title shown by the window of a presented controller.
    QString title() const { return windowTitle(); }
    void setTitle(const QString& title) { setWindowTitle(title); }

    // Appearance transitions driven by a window controller (miniaturise and
    // restore, content swaps); idempotent.
    void beginAppearance();
    void endAppearance();

protected:
    // Builds the view's widgets; the default builds nothing.
    virtual void loadView() {}
    virtual void viewDidLoad() {}
    virtual void viewWillAppear() {}
    virtual void viewDidAppear() {}
    virtual void viewDidLayout() {}
    virtual void viewWillDisappear() {}
    virtual void viewDidDisappear() {}
    // Hands a payload to the destination of `segue`; the default does nothing.
    virtual void prepareForSegue(const StoryboardSegue& segue, const QVariant& sender);
    // What Escape does; answers whether it did anything. The default closes a presented screen.
    virtual bool cancelOperation();

    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    friend class Storyboard;

    bool m_viewLoaded = false;
    bool m_appeared = false;
    quint64 m_appearanceGeneration = 0;
    QPointer<ViewController> m_presenting;
    Storyboard* m_storyboard = nullptr;
    QString m_storyboardIdentifier;
};
