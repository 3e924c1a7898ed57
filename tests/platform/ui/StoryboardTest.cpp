#include "platform/ui/Storyboard.h"
#include "platform/ui/ViewController.h"

#include <QCoreApplication>
#include <QPointer>
#include <QStringList>

#include <gtest/gtest.h>

namespace {

// Records its life cycle into a shared journal.
class JournalController : public ViewController {
public:
    JournalController(QString name, QStringList* journal) : m_name(std::move(name)), m_journal(journal) {}

    QVariant payload;
    QString preparedFor;

protected:
    void loadView() override { note("loadView"); }
    void viewDidLoad() override { note("viewDidLoad"); }
    void viewWillAppear() override { note("viewWillAppear"); }
    void viewDidAppear() override { note("viewDidAppear"); }
    void viewWillDisappear() override { note("viewWillDisappear"); }
    void viewDidDisappear() override { note("viewDidDisappear"); }
    void prepareForSegue(const StoryboardSegue& segue, const QVariant& sender) override {
        note("prepareForSegue " + segue.identifier());
        auto* destination = static_cast<JournalController*>(segue.destinationController());
        destination->payload = sender;
        destination->preparedFor = segue.identifier();
        EXPECT_EQ(segue.sourceController(), this);
    }

private:
    void note(const QString& what) { m_journal->append(m_name + ": " + what); }

    QString m_name;
    QStringList* m_journal;
};

class StoryboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        board = &Storyboard::named("StoryboardTest");
        board->clear();
        board->registerController("Source", [this] { return new JournalController("source", &journal); });
        board->registerController("Destination",
                                  [this] { return new JournalController("destination", &journal); });
        board->registerSegue("sourceToDestination", "Source", "Destination", SeguePresentation::Sheet);
        board->registerSegue("sourceToNowhere", "Source", "Nowhere", SeguePresentation::Modal);
    }
    void TearDown() override { board->clear(); }

    Storyboard* board = nullptr;
    QStringList journal;
};

} // namespace

TEST_F(StoryboardTest, InstantiatesByIdentifierWithoutLoadingTheView) {
    std::unique_ptr<ViewController> controller(board->instantiateController("Source"));
    ASSERT_NE(controller, nullptr);
    EXPECT_FALSE(controller->isViewLoaded());
    EXPECT_EQ(controller->storyboard(), board);
    EXPECT_EQ(controller->storyboardIdentifier(), "Source");
    EXPECT_TRUE(journal.isEmpty());
    controller->view();
    controller->loadViewIfNeeded();
    EXPECT_EQ(journal, (QStringList{"source: loadView", "source: viewDidLoad"}));
    EXPECT_EQ(board->instantiateController("Unknown"), nullptr);
}

TEST_F(StoryboardTest, SeguePreparesBeforeTheDestinationLoadsThenPresentsIt) {
    std::unique_ptr<ViewController> source(board->instantiateController("Source"));
    source->resize(400, 300);
    source->show();
    QCoreApplication::processEvents();
    journal.clear();

    QPointer<ViewController> destination =
        source->performSegue("sourceToDestination", QStringLiteral("payload"));
    ASSERT_NE(destination, nullptr);
    auto* presented = static_cast<JournalController*>(destination.data());
    EXPECT_EQ(presented->payload.toString(), "payload");
    EXPECT_EQ(presented->preparedFor, "sourceToDestination");
    EXPECT_EQ(destination->presentingViewController(), source.get());
    EXPECT_TRUE(destination->isVisible());
    EXPECT_TRUE(destination->isWindow());
    EXPECT_EQ(destination->windowModality(), Qt::WindowModal);
    QCoreApplication::processEvents();
    EXPECT_EQ(journal, (QStringList{"source: prepareForSegue sourceToDestination", "destination: loadView",
                                    "destination: viewDidLoad", "destination: viewWillAppear",
                                    "destination: viewDidAppear"}));

    journal.clear();
    destination->dismiss();
    EXPECT_EQ(journal, (QStringList{"destination: viewWillDisappear", "destination: viewDidDisappear"}));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(destination.isNull());
}

TEST_F(StoryboardTest, ClosingAPresentedWindowDismissesIt) {
    std::unique_ptr<ViewController> source(board->instantiateController("Source"));
    source->show();
    QPointer<ViewController> destination = source->performSegue("sourceToDestination");
    ASSERT_NE(destination, nullptr);
    journal.clear();
    destination->close();
    EXPECT_TRUE(journal.contains("destination: viewWillDisappear"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(destination.isNull());
}

TEST_F(StoryboardTest, UnknownSegueOrDestinationPresentsNothing) {
    std::unique_ptr<ViewController> source(board->instantiateController("Source"));
    source->loadViewIfNeeded();
    journal.clear();
    EXPECT_EQ(source->performSegue("noSuchSegue"), nullptr);
    EXPECT_EQ(source->performSegue("sourceToNowhere"), nullptr);
    EXPECT_TRUE(journal.isEmpty()); // nothing prepared without a destination
}

TEST_F(StoryboardTest, AppearanceFollowsShowAndHideOnce) {
    std::unique_ptr<ViewController> controller(board->instantiateController("Source"));
    controller->show();
    controller->show();
    QCoreApplication::processEvents();
    controller->hide();
    controller->hide();
    EXPECT_EQ(journal, (QStringList{"source: loadView", "source: viewDidLoad", "source: viewWillAppear",
                                    "source: viewDidAppear", "source: viewWillDisappear",
                                    "source: viewDidDisappear"}));
}

TEST_F(StoryboardTest, DidAppearIsSkippedWhenHiddenAtOnce) {
    std::unique_ptr<ViewController> controller(board->instantiateController("Source"));
    controller->show();
    controller->hide();
    QCoreApplication::processEvents();
    EXPECT_FALSE(journal.contains("source: viewDidAppear"));
}

TEST_F(StoryboardTest, ReRegisteringReturnsThePreviousFactory) {
    Storyboard::ControllerFactory previous =
        board->registerController("Source", [] { return new ViewController; });
    ASSERT_TRUE(previous);
    std::unique_ptr<ViewController> old(previous());
    EXPECT_NE(dynamic_cast<JournalController*>(old.get()), nullptr);
    EXPECT_TRUE(board->segue("sourceToDestination").has_value());
    EXPECT_EQ(board->segue("sourceToDestination")->destinationIdentifier, "Destination");
    EXPECT_FALSE(board->segue("missing").has_value());
}
