#include "TestViews.h"
#include "framework/CDocument.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

TEST(DocumentViews, UpdateReachesEveryLiveViewButTheSender) {
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

    // A view destroyed by an earlier view's update is skipped.
    auto doomed = std::make_unique<RecordingView>();
    doomed->Create(nullptr, &document);
    RecordingView last;
    last.Create(nullptr, &document);
    views[2].duringUpdate = [&] { doomed.reset(); };
    document.UpdateAllViews(nullptr);
    EXPECT_EQ(document.GetViews().size(), 4u);
    EXPECT_EQ(last.updates.size(), 1u);
}

} // namespace
