#include "TestViews.h"
#include "framework/CDocument.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

constexpr LPARAM kHint = 7;

struct ThreeViews : ::testing::Test {
    CDocument document;
    RecordingView views[3];
    ThreeViews() {
        for (RecordingView& view : views)
            view.Create(nullptr, &document);
    }
};

TEST_F(ThreeViews, UpdateReachesEveryViewButTheSenderWithHintAndObject) {
    int object = 0;
    document.UpdateAllViews(&views[1], kHint, &object);
    for (int i : {0, 2}) {
        ASSERT_EQ(views[i].updates.size(), 1u) << "view " << i;
        EXPECT_EQ(views[i].updates[0].sender, &views[1]);
        EXPECT_EQ(views[i].updates[0].hint, kHint);
        EXPECT_EQ(views[i].updates[0].object, &object);
    }
    EXPECT_TRUE(views[1].updates.empty());
}

TEST_F(ThreeViews, UpdateWithoutSenderReachesAllViewsBeforeItReturns) {
    document.UpdateAllViews(nullptr);
    for (const RecordingView& view : views)
        EXPECT_EQ(view.updates.size(), 1u);
}

TEST(DocumentViews, ViewDestroyedByAnEarlierViewsUpdateIsSkipped) {
    CDocument document;
    RecordingView first;
    first.Create(nullptr, &document);
    auto second = std::make_unique<RecordingView>();
    second->Create(nullptr, &document);
    RecordingView third;
    third.Create(nullptr, &document);
    first.duringUpdate = [&] { second.reset(); };

    document.UpdateAllViews(nullptr);

    EXPECT_EQ(document.GetViews().size(), 2u);
    EXPECT_EQ(third.updates.size(), 1u);
}

} // namespace
