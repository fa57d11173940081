#include "core/Exception.h"
#include "core/Utf8.h"

#include <boost/format.hpp>
#include <gtest/gtest.h>

namespace {

void Fails(int value)
{
    MAKO_ASSERT_MSG(value > 3, boost::format("value %1% too small") % value);
}

} // namespace

TEST(Exception, ReportNamesSubclassVersionOriginAndMessage)
{
    try {
        MAKO_THROW(ScriptError, "bad script");
    } catch (const Exception& e) {
        std::string text = e.ToString();
        EXPECT_EQ(0u, text.find("Exception Thrown: ScriptError\n\nApp Version: nil\n")) << text;
        EXPECT_NE(std::string::npos, text.find("Origin: ")) << text;
        EXPECT_NE(std::string::npos,
                  text.find("Function: "
                            "Exception_ReportNamesSubclassVersionOriginAndMessage_Test::"
                            "TestBody\n\nbad script"))
            << text;
        EXPECT_STREQ("bad script", e.what());
    }
    // A message quoting a value of a megabyte keeps its start, cut at a whole character.
    try {
        MAKO_THROW(ScriptError, "bad value \"" + std::string(Exception::kLongestMessage - 12, 'x') +
                                    "\xE2\x82\xAC" + std::string(1 << 20, 'y'));
    } catch (const Exception& e) {
        const std::string message = e.GetMessage();
        EXPECT_LT(message.size(), 16384u);
        EXPECT_EQ(0u, message.find("bad value \"xxx"));
        EXPECT_EQ(Utf8::EscapeInvalid(message), message);
    }
}

TEST(Exception, AssertionAndVerifyTexts)
{
    try {
        Fails(2);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ("Assertion failed: (value > 3)\nMessage: value 2 too small", e.GetMessage());
        EXPECT_EQ("{anonymous}::Fails", e.GetFunction());
    }
    try {
        MAKO_ASSERT(1 + 1 == 3);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ("Assertion failed: (1 + 1 == 3)", e.GetMessage());
    }
    try {
        MAKO_VERIFY(false);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ("Verify failed: (false)", e.GetMessage());
    }
}

TEST(Exception, CopyKeepsSubclassAndDirectXTextNamesApplication)
{
    ResourceNotFoundException original(MAKO_WHERE, "missing", "Ball.png");
    Exception* copy = new ResourceNotFoundException(original);
    EXPECT_EQ("ResourceNotFoundException", copy->GetTypeName());
    EXPECT_EQ("Ball.png", static_cast<ResourceNotFoundException*>(copy)->GetResourceName());
    delete copy;

    DirectX7NotAvailable dx(MAKO_WHERE, "bumperlux");
    EXPECT_EQ(0u, dx.ToString().find("bumperlux requires that DirectX 7 or higher be installed "
                                     "beforehand.\nThis can be downloaded from"));
}

TEST(Exception, QualifiedFunctionNames)
{
    EXPECT_EQ("Application::InitEngine",
              MakoQualifiedFunction("virtual void Application::InitEngine(int, char**)"));
    EXPECT_EQ("ns::Foo<int>::Bar",
              MakoQualifiedFunction("static std::map<int, int> ns::Foo<int>::Bar(const X&) const"));
    EXPECT_EQ("main", MakoQualifiedFunction("int main()"));
    // Both compilers' spellings of pointer results and unnamed namespaces name alike.
    EXPECT_EQ("Grid::Add", MakoQualifiedFunction("Button *Grid::Add(int)"));
    EXPECT_EQ("Grid::Add", MakoQualifiedFunction("Button* Grid::Add(int)"));
    EXPECT_EQ("{anonymous}::Fails",
              MakoQualifiedFunction("void (anonymous namespace)::Fails(int)"));
    EXPECT_EQ("{anonymous}::Fails", MakoQualifiedFunction("void {anonymous}::Fails(int)"));
}
