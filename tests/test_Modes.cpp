#include "platform/Modes.h"

#include <gtest/gtest.h>

namespace {

TEST(Modes, CommandLines)
{
    const struct {
        QStringList args;
        std::optional<char> mode;
        bool help;
        bool error;
    } cases[] = {
        {{"multisite"}, std::nullopt, false, false},
        {{"multisite", "--mode", "a"}, 'a', false, false},
        {{"multisite", "--mode=c"}, 'c', false, false},
        {{"multisite", "--mode", "b", "--help"}, 'b', true, false},
        {{"multisite", "-h"}, std::nullopt, true, false},
        {{"multisite", "--mode", "d"}, std::nullopt, false, true},
        {{"multisite", "--mode", "ab"}, std::nullopt, false, true},
        {{"multisite", "--mode="}, std::nullopt, false, true},
        {{"multisite", "--mode"}, std::nullopt, false, true},
        {{"multisite", "--verbose"}, std::nullopt, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const platform::StartOptions options = platform::parseStartOptions(c.args);
        EXPECT_EQ(options.mode, c.mode);
        EXPECT_EQ(platform::parseMode(c.args), c.mode);
        EXPECT_EQ(options.help, c.help);
        EXPECT_EQ(!options.error.isEmpty(), c.error) << options.error.toStdString();
    }
}

TEST(Modes, TheHelpTextNamesTheProgramAndTheOption)
{
    const QString text = platform::helpText(QStringLiteral("sprainentry"));
    EXPECT_TRUE(text.contains(QStringLiteral("sprainentry")));
    EXPECT_TRUE(text.contains(QStringLiteral("--mode a|b|c")));
}

} // namespace
