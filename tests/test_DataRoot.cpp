#include "platform/DataRoot.h"

#include <QtGlobal>
#include <gtest/gtest.h>

namespace {

// Sets or unsets variables for one test and puts them back afterwards.
class Environment {
public:
    void set(const char* name, const char* value)
    {
        m_saved.push_back({name, qgetenv(name), qEnvironmentVariableIsSet(name)});
        if (value)
            qputenv(name, value);
        else
            qunsetenv(name);
    }
    ~Environment()
    {
        for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) {
            if (it->wasSet)
                qputenv(it->name, it->value);
            else
                qunsetenv(it->name);
        }
    }

private:
    struct Saved {
        const char* name;
        QByteArray value;
        bool wasSet;
    };
    std::vector<Saved> m_saved;
};

TEST(DataRoot, TheRootComesFromTheEnvironmentInOrder)
{
    const struct {
        const char* root;
        const char* dataHome;
        const char* expected;
    } cases[] = {
        {"/srv/clinic", "/home/u/data", "/srv/clinic"},
        {"", "/home/u/data", "/home/u/data/harunire"},
        {nullptr, "/home/u/data", "/home/u/data/harunire"},
        {nullptr, "", "/home/u/.local/share/harunire"},
        {nullptr, nullptr, "/home/u/.local/share/harunire"},
        {nullptr, "relative/data", "/home/u/.local/share/harunire"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        Environment env;
        env.set("HOME", "/home/u");
        env.set("HARUNIRE_ROOT", c.root);
        env.set("XDG_DATA_HOME", c.dataHome);
        EXPECT_EQ(platform::dataRoot().toStdString(), c.expected);
    }
}

TEST(DataRoot, TheDatabaseAndTheProgramsLiveUnderTheRoot)
{
    Environment env;
    env.set("HARUNIRE_ROOT", "/srv/clinic");
    EXPECT_EQ(platform::databaseFolder().toStdString(), "/srv/clinic/sa");
    EXPECT_EQ(platform::programPath(QStringLiteral("kikyoguide")).toStdString(), "/srv/clinic/kikyoguide");
}

} // namespace
