#include "vdrApplication.h"
#include "kvxFormScaler.h"
#include "vdrError.h"
#include "vdrScriptedPrompts.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

class TThrowingObject : public QObject {
public:
    bool event(QEvent *event) override {
        if (event->type() == QEvent::User)
            throw EvdrError("Id (TvdrCars) does not exist");
        if (event->type() == QEvent::User + 1)
            throw std::runtime_error("out of range");
        return QObject::event(event);
    }
};

} // namespace

TEST(ErrorDisplay, AnErrorThatLeavesAnEventHandlerIsShownNotThrownOn) {
    TvdrPromptsScript prompts;
    TThrowingObject object;
    QEvent first(QEvent::User);
    QEvent second(QEvent::Type(QEvent::User + 1));
    EXPECT_NO_THROW(QCoreApplication::sendEvent(&object, &first));
    EXPECT_NO_THROW(QCoreApplication::sendEvent(&object, &second));
    RunGuarded([] { throw EvdrError("File x not found"); });
    RunGuarded([] {});
    EXPECT_EQ(prompts->Transcript(), QStringList({"error: Id (TvdrCars) does not exist",
                                                  "error: out of range", "error: File x not found"}));
}

TEST(FormScaler, BelongsToAWindowAndReportsOnlyAResolutionThatDiffers) {
    QWidget window;
    QWidget inner(&window);
    QObject plain;
    for (QObject *owner : {static_cast<QObject *>(&inner), &plain})
        EXPECT_THROW(
            {
                try {
                    TkvxFormScaler scaler(owner);
                } catch (const EvdrError &error) {
                    EXPECT_EQ(error.Message(),
                              QStringLiteral("TkvxFormScaler owner must be TForm descendent"));
                    throw;
                }
            },
            EvdrError);

    const int screen = TkvxFormScaler::ScreenPixelsPerInch(&window);
    QList<QPair<int, int>> calls;
    auto *same = new TkvxFormScaler(&window);
    same->SetDesignTimePixelsPerInch(screen);
    same->SetOnScaling([&](TkvxFormScaler *, int now, int design) { calls.append({now, design}); });
    auto *other = new TkvxFormScaler(&window);
    other->SetDesignTimePixelsPerInch(screen + 24);
    other->SetOnScaling([&](TkvxFormScaler *, int now, int design) { calls.append({now, design}); });
    window.show();
    window.hide();
    window.show();
    ASSERT_EQ(calls.size(), 1) << "once, after the window first shows";
    EXPECT_EQ(calls[0], qMakePair(screen, screen + 24));
}
