#include "TestViews.h"
#include "framework/CDocument.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

TEST(DocumentViews, UpdateReachesEveryViewButTheSenderWithHintAndObject) {
    CDocument document;
    RecordingView views[3];
    for (RecordingView& view : views)
        view.Create(nullptr, &document);
    int object = 0;
    document.UpdateAllViews(&views[1], 7, &object);
    document.UpdateAllViews(nullptr);
    for (int i : {0, 2}) {
        ASSERT_EQ(views[i].updates.size(), 2u) << "view " << i;
        EXPECT_EQ(views[i].updates[0].sender, &views[1]);
        EXPECT_EQ(views[i].updates[0].hint, 7);
        EXPECT_EQ(views[i].updates[0].object, &object);
    }
    EXPECT_EQ(views[1].updates.size(), 1u) << "the sender only hears the update without sender";
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
