// Points, rectangles, polygons and alignments, in C++ and in their script forms.
#include "core/Exception.h"
#include "geometry/Intersection.h"
#include "geometry/Poly.h"
#include "geometry/RectAlignment.h"
#include "support/engine/EngineSetup.h"
#include "support/engine/LuaFixture.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>

using LuaPlus::LuaObject;

namespace {

class GeometryTest : public bbtest::LuaFixture
{
protected:
    LuaObject Eval(const std::string& expression) { return bbtest::EvalLua(expression, State()); }

    // The message of the engine exception fn raises ("" when it raises none).
    template <typename Fn> std::string FailureOf(Fn fn)
    {
        try {
            fn();
        } catch (const Exception& e) {
            return e.GetMessage();
        }
        return "";
    }
};

TEST_F(GeometryTest, AlignersAndAlignmentPointsAgree)
{
    // The halves of odd sizes drop their remainder.
    SDL_Rect r = MakeRect(0, 0, 5, 5);
    GetRectAligner(Center)(r, 10, 10);
    EXPECT_EQ(8, r.x);
    EXPECT_EQ(8, r.y);
    EXPECT_EQ(5, r.w);

    // Every aligner puts its rectangle's alignment point exactly on the target point.
    for (int a = 1; a <= 9; ++a) {
        const RectAlignment alignment = static_cast<RectAlignment>(a);
        SDL_Rect rect = MakeRect(3, 4, 7, 9);
        GetRectAligner(alignment)(rect, -20, 33);
        EXPECT_EQ(Point<int>(-20, 33), GetRectAlignmentPoint(alignment)(rect))
            << RectAlignmentToString(alignment);
        EXPECT_EQ(alignment, RectAlignmentFromString(RectAlignmentToString(alignment)));
    }
    EXPECT_EQ(nullptr, GetRectAligner(NoAlignment));
    EXPECT_EQ(nullptr, GetRectAligner(static_cast<RectAlignment>(10)));
    EXPECT_EQ(nullptr, GetRectAlignmentPoint(static_cast<RectAlignment>(-1)));
    EXPECT_EQ(NoAlignment, RectAlignmentFromString("NoAlignment"));
    EXPECT_EQ("Cannot create a RectAlignment from string \"center\"\nThe alignments are "
              "BottomLeft, BottomRight, Center, MidBottom, MidLeft, MidRight, MidTop, TopLeft and "
              "TopRight.",
              FailureOf([] { RectAlignmentFromString("center"); }));
    try {
        RectAlignmentFromString("");
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_EQ("RectAlignmentFromString", e.GetFunction());
    }
}

TEST_F(GeometryTest, RectanglesRefuseWhatTheirSixteenBitFieldsCannotHold)
{
    SDL_Rect r;
    SetRectFromLuaObject(r, Eval("{-32768, 32767, 65535, 3.9}"));
    EXPECT_EQ(-32768, r.x);
    EXPECT_EQ(32767, r.y);
    EXPECT_EQ(65535, r.w);
    EXPECT_EQ(3, r.h);
    SetRectFromLuaObject(r, Eval("{x = 1, y = 2, w = function() return 3 end, h = -0.5}"));
    EXPECT_TRUE(RectEquals(MakeRect(1, 2, 3, 0), r));

    // Out of range, missing or not a number: refused by field, the rectangle unchanged.
    EXPECT_EQ("The rectangle \"bounds\" needs \"y\" in "
              "-32768..32767, not 70000.",
              FailureOf([&] { SetRectFromLuaObject(r, Eval("{0, 70000, 1, 1}"), "bounds"); }));
    EXPECT_EQ("The rectangle needs \"w\" in 0..65535, not -1.",
              FailureOf([&] { SetRectFromLuaObject(r, Eval("{0, 0, -1, 1}")); }));
    EXPECT_EQ("The rectangle needs \"h\" in 0..65535, not "
              "65536.5.",
              FailureOf([&] { SetRectFromLuaObject(r, Eval("{0, 0, 1, 65536.5}")); }));
    EXPECT_NE(std::string::npos, FailureOf([&] {
                                     SetRectFromLuaObject(r, Eval("{0, 0, 0/0, 1}"));
                                 }).find("needs \"w\" in 0..65535, not"));
    EXPECT_EQ("The rectangle needs a number for \"h\".",
              FailureOf([&] { SetRectFromLuaObject(r, Eval("{0, 0, 1}")); }));
    EXPECT_EQ("The rectangle \"bounds\" needs a table, not a "
              "number.",
              FailureOf([&] { SetRectFromLuaObject(r, Eval("5"), "bounds"); }));
    EXPECT_TRUE(RectEquals(MakeRect(1, 2, 3, 0), r));

    LuaObject t = RectToLuaObject(MakeRect(-1, 2, 40000, 4), State());
    EXPECT_EQ(-1, t[1].GetInteger());
    EXPECT_EQ(40000, t[3].GetInteger());
    EXPECT_EQ(4, t.GetCount());
}

TEST_F(GeometryTest, PointsAndSizesNameTheCoordinateTheyLack)
{
    Point<int> p(9, 9);
    EXPECT_EQ("The point \"position\" needs a number for "
              "\"y\".",
              FailureOf([&] { p.SetPoint(Eval("{x = 10}"), "position"); }));
    EXPECT_EQ("The point needs a number for \"x\".",
              FailureOf([&] { p.SetPoint(Eval("{x = 'ten', y = 1}")); }));
    EXPECT_EQ("The point \"at\" needs a number for \"y\".",
              FailureOf([&] { p.SetPoint(Eval("{1, function() return 'up' end}"), "at"); }));
    EXPECT_EQ("The point \"at\" needs a table, not a string.",
              FailureOf([&] { p.SetPoint(Eval("'1, 2'"), "at"); }));
    EXPECT_EQ(Point<int>(9, 9), p);
    // A named function gives its coordinate like a listed one.
    p.SetPoint(Eval("{x = function() return 4 end, y = 5}"));
    EXPECT_EQ(Point<int>(4, 5), p);
    Point2f pf;
    EXPECT_EQ("The point \"offset\" needs a number for "
              "\"x\".",
              FailureOf([&] { pf.SetPoint(Eval("{}"), "offset"); }));

    // Sizes read {w, h}, {x, y} (as an actor gives its size back) or {.., ..}, within the
    // 16-bit range, and name the key of the form they were given in.
    EXPECT_EQ(Point<int>(3, 4), ReadRectSize(Eval("{w = 3, h = 4}"), "size"));
    EXPECT_EQ(Point<int>(3, 4), ReadRectSize(Eval("{x = 3, y = 4}"), "size"));
    EXPECT_EQ(Point<int>(0, 65535), ReadRectSize(Eval("{0, 65535}"), "size"));
    EXPECT_EQ("The size \"size\" needs a number for \"w\".",
              FailureOf([&] { ReadRectSize(Eval("{w = 'x', h = 2}"), "size"); }));
    EXPECT_EQ("The size \"size\" needs a number for \"h\".",
              FailureOf([&] { ReadRectSize(Eval("{w = 2}"), "size"); }));
    EXPECT_EQ("The size \"size\" needs a number for \"y\".",
              FailureOf([&] { ReadRectSize(Eval("{x = 2}"), "size"); }));
    EXPECT_EQ("The size \"size\" needs \"w\" in 0..65535, "
              "not -1.",
              FailureOf([&] { ReadRectSize(Eval("{-1, 70000}"), "size"); }));
    EXPECT_EQ("The size \"size\" needs \"h\" in 0..65535, "
              "not 70000.",
              FailureOf([&] { ReadRectSize(Eval("{1, 70000}"), "size"); }));

    // Positions take every point form, within the 16-bit range (checked before any
    // saturation of the integer point).
    EXPECT_EQ(Point<int>(-32768, 32767), ReadRectPosition(Eval("{-32768, 32767.9}"), "position"));
    EXPECT_EQ(Point<int>(2, 0), ReadRectPosition(Eval("{r = 2, theta = 0}"), "position"));
    EXPECT_EQ("The point \"position\" needs \"x\" in "
              "-32768..32767, not 1e+20.",
              FailureOf([&] { ReadRectPosition(Eval("{1e20, 0}"), "position"); }));
}

TEST_F(GeometryTest, PointsReadCartesianAndPolarForms)
{
    Point<int> pi;
    pi.SetPoint(Eval("{x = 1, [2] = 5}"));
    EXPECT_EQ(Point<int>(1, 5), pi);
    pi.SetPoint(Eval("{r = 2, theta = 0}"));
    EXPECT_EQ(Point<int>(2, 0), pi);
    pi.SetPoint(Eval("{function() return 7.9 end, y = -3.9}"));
    EXPECT_EQ(Point<int>(7, -3), pi);

    Point<double> pd;
    pd.SetPoint(Eval("{r = function() return 2 end, theta = math.pi / 2}"));
    EXPECT_NEAR(0.0, pd.x, 1e-6);
    EXPECT_NEAR(2.0, pd.y, 1e-6);
    EXPECT_EQ("Invalid parameter for \"theta\", type=string\n\"theta\" needs a number, not the "
              "string \"up\".",
              FailureOf([&] { pd.SetPoint(Eval("{r = 1, theta = 'up'}")); }));

    // {r = 2} alone: Cartesian for the integer reader (which then lacks x), polar for the
    // float reader (which then lacks theta). Neither changes the point.
    pi = Point<int>(9, 9);
    EXPECT_THROW(pi.SetPoint(Eval("{r = 2}")), std::exception);
    EXPECT_EQ(Point<int>(9, 9), pi);
    Point2f pf(4, 4);
    EXPECT_EQ("Object is not a number, but rather a nil.",
              FailureOf([&] { pf.SetPoint(Eval("{r = 2}")); }));
    EXPECT_EQ(Point2f(4, 4), pf);
}

TEST_F(GeometryTest, IntegerPointsStayDefinedForAnyScriptNumber)
{
    // Out-of-range and NaN coordinates saturate or become 0 instead of overflowing.
    Point<int> p;
    p.SetPoint(Eval("{1e20, -1e20}"));
    EXPECT_EQ(Point<int>(INT_MAX, INT_MIN), p);
    p.SetPoint(Eval("{x = 0/0, y = -2.5}"));
    EXPECT_EQ(Point<int>(0, -2), p);
    p.SetPoint(Eval("{r = 1e12, theta = math.pi}"));
    EXPECT_EQ(INT_MIN, p.x);

    // A negative modulus points the other way, in every point type.
    p.SetPoint(Eval("{r = -3, theta = 0}"));
    EXPECT_EQ(Point<int>(-3, 0), p);
    Point2f pf;
    pf.SetPoint(Eval("{r = -2, theta = math.pi / 2}"));
    EXPECT_NEAR(0, pf.x, 1e-6);
    EXPECT_NEAR(-2, pf.y, 1e-6);
}

TEST_F(GeometryTest, PointTablesCompareByValueInScripts)
{
    State()->GetGlobals().SetObject("a", Point<int>(3, 4).ToLuaObject(State()));
    State()->GetGlobals().SetObject("b", Point<int>(3, 4).ToLuaObject(State()));
    State()->GetGlobals().SetObject("c", Point<int>(3, 5).ToLuaObject(State()));
    State()->GetGlobals().SetObject("f", Point2f(0.5f, 1).ToLuaObject(State()));
    Run("same = (a == b); differ = (a == c); fx = f.x");
    EXPECT_TRUE(GlobalBoolean("same"));
    EXPECT_FALSE(GlobalBoolean("differ"));
    EXPECT_DOUBLE_EQ(0.5, GlobalNumber("fx"));

    Point2f v(3, 4);
    v.SetLength(10);
    EXPECT_FLOAT_EQ(6, v.x);
    EXPECT_FLOAT_EQ(8, v.y);
    Point2f zero;
    zero.SetLength(2);
    EXPECT_EQ(Point2f(2, 0), zero);
    Point2f turn(1, 0);
    turn.Rotate(static_cast<float>(M_PI / 2));
    EXPECT_NEAR(0, turn.x, 1e-6);
    EXPECT_NEAR(1, turn.y, 1e-6);
}

TEST_F(GeometryTest, PolygonsFromScriptsAreBoundedAndAtomic)
{
    Poly poly(Eval("{}"));
    EXPECT_EQ(0u, poly.GetNumVertices());
    EXPECT_EQ(0u, poly.GetNumEdges());

    poly.SetPoly(Eval("{{x = 1, y = 1}}"));
    ASSERT_EQ(1u, poly.GetNumEdges());
    EXPECT_EQ(poly.GetEdges()[0].start, poly.GetEdges()[0].end);

    Run("big = {} for i = 1, 64 do big[i] = {i, -i} end");
    poly.SetPoly(Global("big"));
    EXPECT_EQ(64u, poly.GetNumVertices());
    EXPECT_EQ(Point2f(64, -64), poly.GetEdges().back().start);
    EXPECT_EQ(Point2f(1, -1), poly.GetEdges().back().end);

    // Failures leave the polygon as it was.
    Run("big[65] = {0, 0}");
    EXPECT_EQ("A table of at most 64 points is needed, not a table of 65 points.",
              FailureOf([&] { poly.SetPoly(Global("big")); }));
    EXPECT_EQ("A table of points { x, y } is needed, not the number 5.",
              FailureOf([&] { poly.SetPoly(Eval("{{0, 0}, 5}")); }));
    EXPECT_EQ("A table of at most 64 points is needed, not the string \"abc\".",
              FailureOf([&] { poly.SetPoly(Eval("'abc'")); }));
    // A value of length 0 is checked for nothing and changes nothing.
    EXPECT_EQ("", FailureOf([&] { poly.SetPoly(Eval("12")); }));
    EXPECT_EQ(64u, poly.GetNumVertices());
    poly.SetPoly(Eval("{}"));
    EXPECT_EQ(64u, poly.GetNumVertices());

    Poly square;
    square.SetFromRect(MakeRect(0, 0, 2, 2));
    LuaObject back = square.ToLuaObject(State());
    Poly again(back);
    EXPECT_EQ(square.GetVertices(), again.GetVertices());
    EXPECT_EQ(Point2f(0, 2), square.GetVertices()[1]);
}

TEST_F(GeometryTest, ContainmentAndRectangleIntersection)
{
    Poly tri;
    const Point2f v[3] = {{0, 0}, {10, 0}, {0, 10}};
    tri.SetVertices(v, v + 3);
    EXPECT_TRUE(tri.ContainsPoint(2, 2));
    EXPECT_FALSE(tri.ContainsPoint(6, 6));
    EXPECT_FALSE(tri.ContainsPoint(-1, 2));
    EXPECT_FALSE(Poly().ContainsPoint(0, 0));

    EXPECT_TRUE(tri.IntersectsRect(MakeRect(-5, -5, 6, 6))); // holds a vertex
    EXPECT_TRUE(tri.IntersectsRect(MakeRect(1, 1, 1, 1)));   // lies inside
    EXPECT_TRUE(tri.IntersectsRect(MakeRect(4, -2, 2, 20))); // crosses without corners in
    EXPECT_FALSE(tri.IntersectsRect(MakeRect(8, 8, 5, 5)));
    // A rectangle around the whole polygon: vertices inside.
    EXPECT_TRUE(tri.IntersectsRect(MakeRect(-100, -100, 200, 200)));
}

TEST_F(GeometryTest, SegmentAndCircleIntersections)
{
    Point2f out;
    EXPECT_TRUE(IntersectLineSegments({0, 0}, {2, 2}, {0, 2}, {2, 0}, &out));
    EXPECT_EQ(Point2f(1, 1), out);
    // Touching at p1 (ua = 0) does not count; touching at p3 (ub = 0) does.
    EXPECT_FALSE(IntersectLineSegments({1, 1}, {2, 2}, {0, 2}, {2, 0}, nullptr));
    EXPECT_TRUE(IntersectLineSegments({0, 1}, {2, 1}, {1, 1}, {1, 5}, nullptr));
    EXPECT_FALSE(IntersectLineSegments({0, 0}, {1, 0}, {0, 1}, {1, 1}, nullptr));

    Point2f a(99, 99), b(99, 99);
    EXPECT_EQ(1, IntersectLineCircle({-5, 2}, {5, 2}, {0, 0}, 2, &a, &b));
    EXPECT_EQ(Point2f(0, 2), a);
    EXPECT_EQ(2, IntersectLineCircle({-5, 0}, {5, 0}, {1, 1}, 1.5f, &a, &b));
    EXPECT_NEAR(std::fabs(a.x - b.x), 2 * std::sqrt(1.25f), 1e-5);
    EXPECT_FLOAT_EQ(0, a.y);
    Point2f untouched(7, 7);
    EXPECT_EQ(0, IntersectLineCircle({-5, 9}, {5, 9}, {0, 0}, 2, &untouched, &b));
    EXPECT_EQ(Point2f(7, 7), untouched);
    EXPECT_THROW(IntersectLineCircle({0, 0}, {1, 0}, {0, 0}, 1, nullptr, &b), Exception);
    EXPECT_EQ("Assertion failed: (intersectPt2 != 0)", FailureOf([&] {
                  IntersectLineCircle({0, 0}, {1, 0}, {0, 0}, 1, &a, nullptr);
              }));
    // Two equal points define no line, even at the centre of the circle.
    EXPECT_EQ(0, IntersectLineCircle({0, 0}, {0, 0}, {0, 0}, 1, &untouched, &b));
    EXPECT_EQ(0, IntersectLineCircle({3, 3}, {3, 3}, {0, 0}, 1, &untouched, &b));
    EXPECT_EQ(Point2f(7, 7), untouched);

    Matrix3x3 m;
    m.SetRotation(90);
    EXPECT_NEAR(0, m.m[0], 1e-6);
    EXPECT_FLOAT_EQ(-1, m.m[1]);
    EXPECT_FLOAT_EQ(1, m.m[3]);
    EXPECT_FLOAT_EQ(1, m.m[8]);
}

} // namespace
