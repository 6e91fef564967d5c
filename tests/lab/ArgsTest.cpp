#include "CArgs.h"

#include <gtest/gtest.h>

namespace
{
CArgs MakeArgs()
{
    return CArgs({ "depth", "pos" }, { "check" });
}
} // namespace

// Values come in two spellings; flags stand alone; a value may look like an
// option or hold spaces.
TEST(LabArgs, values_and_flags_are_read)
{
    CArgs args = MakeArgs();
    std::string error;
    ASSERT_TRUE(args.Parse({ "--depth", "4", "--check", "--pos=g1--/x y" }, error)) << error;
    EXPECT_TRUE(args.Has("check"));
    EXPECT_EQ(args.Get("depth"), "4");
    EXPECT_EQ(args.Get("pos"), "g1--/x y");

    ASSERT_TRUE(args.Parse({ "--pos", "--depth" }, error)) << error;
    EXPECT_EQ(args.Get("pos"), "--depth");
    EXPECT_FALSE(args.Has("depth"));   // a new parse forgets the old one
    EXPECT_FALSE(args.Has("check"));
}

TEST(LabArgs, usage_errors_are_named)
{
    struct Case { std::vector<std::string> args; const char* says; };
    const Case cases[] = {
        { { "--deep", "4" }, "unknown option '--deep'" },
        { { "--depth" }, "--depth needs a value" },
        { { "--depth", "1", "--depth", "2" }, "--depth given twice" },
        { { "--check", "--check" }, "--check given twice" },
        { { "--check=yes" }, "--check takes no value" },
        { { "4" }, "unexpected argument '4'" },
        { { "-d", "4" }, "unexpected argument '-d'" },
        { { "--" }, "unexpected argument '--'" },
    };
    for (const Case& c : cases)
    {
        CArgs args = MakeArgs();
        std::string error;
        EXPECT_FALSE(args.Parse(c.args, error));
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
    }
}

// Only whole decimal numbers within the range pass; an absent optional
// value leaves the default alone, an absent required one is an error.
TEST(LabArgs, integers_are_checked_strictly)
{
    CArgs args = MakeArgs();
    std::string error;
    long long value = 7;

    ASSERT_TRUE(args.Parse({}, error));
    EXPECT_TRUE(args.GetInt("depth", 1, 6, false, value, error));
    EXPECT_EQ(value, 7);
    EXPECT_FALSE(args.GetInt("depth", 1, 6, true, value, error));
    EXPECT_NE(error.find("missing option --depth"), std::string::npos);

    const char* const bad[] = { "0", "7", "-1", "4x", "x4", "", "-", " 4", "4.0", "+4",
                                "99999999999999999999999" };
    for (const char* text : bad)
    {
        ASSERT_TRUE(args.Parse({ "--depth", text }, error));
        EXPECT_FALSE(args.GetInt("depth", 1, 6, true, value, error)) << "'" << text << "'";
        EXPECT_NE(error.find("from 1 to 6"), std::string::npos) << error;
    }
    EXPECT_EQ(value, 7);

    for (long long expected : { 1LL, 6LL })
    {
        ASSERT_TRUE(args.Parse({ "--depth", std::to_string(expected) }, error));
        EXPECT_TRUE(args.GetInt("depth", 1, 6, true, value, error)) << error;
        EXPECT_EQ(value, expected);
    }
    ASSERT_TRUE(args.Parse({ "--depth", "0004" }, error));
    EXPECT_TRUE(args.GetInt("depth", 1, 6, true, value, error));
    EXPECT_EQ(value, 4);
}
