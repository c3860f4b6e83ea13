#include "marrowgate/graphics/mg_graphic_list.h"
#include "probe_graphic.h"
#include "support/error_capture.h"

#include <gtest/gtest.h>

namespace {

using namespace Marrowgate::Graphics;
using QuorvaneTest::ProbeGraphic;
using Log = std::vector<std::string>;

class TestList : public GraphicList
{
};

ProbeGraphic* MakeProbe(const std::string& name, float depth, Log& log)
{
    auto* probe = new ProbeGraphic(name, &log);
    probe->SetDepth(depth);
    return probe;
}

TEST(GraphicListTest, DrawsChildrenByAscendingDepthAndEqualDepthsInTheOrderAdded)
{
    Log log;
    TestList list;
    list.AddManagedGraphic(MakeProbe("a", 0.5f, log));
    list.AddManagedGraphic(MakeProbe("b", -0.5f, log));
    list.AddManagedGraphic(MakeProbe("c", 0.5f, log));
    list.AddManagedGraphic(MakeProbe("d", 0.0f, log));
    list.Render();
    EXPECT_EQ(log, (Log{"rendered b", "rendered d", "rendered a", "rendered c"}));
}

TEST(GraphicListTest, KeepsTheOrderWhenAChildsDepthChangesLater)
{
    Log log;
    TestList list;
    ProbeGraphic first("first", &log);
    ProbeGraphic second("second", &log);
    list.AddGraphic(&first);
    list.AddGraphic(&second);
    first.SetDepth(1.0f);
    list.Render();
    EXPECT_EQ(log, (Log{"rendered first", "rendered second"}));
}

TEST(GraphicListTest, DrawsChildrenRelativeToTheList)
{
    TestList list;
    list.SetPosition(Vector2(10, 0));
    ProbeGraphic child;
    child.SetPosition(Vector2(5, 2));
    list.AddGraphic(&child);
    SetModelViewMatrix(Matrix4());
    list.Render();
    EXPECT_FLOAT_EQ(child.drawnWith.m[3], 15.0f);
    EXPECT_FLOAT_EQ(child.drawnWith.m[7], 2.0f);
}

TEST(GraphicListTest, RemovingDestroysOnlyManagedChildren)
{
    Log log;
    TestList list;
    ProbeGraphic unmanaged("unmanaged", &log);
    ProbeGraphic* managed = MakeProbe("managed", 0.0f, log);
    list.AddGraphic(&unmanaged);
    list.AddManagedGraphic(managed);
    list.RemoveGraphic(&unmanaged);
    EXPECT_TRUE(log.empty());
    list.RemoveGraphic(managed);
    EXPECT_EQ(log, (Log{"destroyed managed"}));
    EXPECT_TRUE(list.GetGraphics().empty());
}

TEST(GraphicListTest, DestroysManagedChildrenFromTheLastAdded)
{
    Log log;
    {
        TestList list;
        list.AddManagedGraphic(MakeProbe("first", 0.0f, log));
        list.AddManagedGraphic(std::unique_ptr<Graphic>(MakeProbe("second", -1.0f, log)));
    }
    EXPECT_EQ(log, (Log{"destroyed second", "destroyed first"}));
}

TEST(GraphicListTest, PassesUpdatesAndColoursToEveryChild)
{
    TestList list;
    ProbeGraphic first;
    ProbeGraphic second;
    list.AddGraphic(&first);
    list.AddGraphic(&second);
    list.Update(0.25f);
    const Color red(ColorPalette::Red);
    list.SetColor(red);
    EXPECT_FLOAT_EQ(second.updatedFor, 0.25f);
    EXPECT_EQ(first.GetColor(), red);
    EXPECT_EQ(list.GetColor(), red);
}

TEST(GraphicListTest, RefusesNullChildren)
{
    QuorvaneTest::ErrorCapture errors;
    TestList list;
    list.AddGraphic(nullptr);
    list.AddManagedGraphic(static_cast<Graphic*>(nullptr));
    EXPECT_EQ(errors.messages.size(), 2u);
    EXPECT_TRUE(list.GetGraphics().empty());
}

} // namespace
