#include "app/startup_constants.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "support/test_folder.h"
#include "support/test_services.h"

namespace {

TEST(StartupConstantsTest, NormalisesTheServerAddress) {
    const std::pair<const char*, const char*> cases[] = {
        {"http://books.example/Tallyleaf/", "http://books.example/Tallyleaf/"},
        {"https://books.example/Tallyleaf", "https://books.example/Tallyleaf/"},
        {"  http://10.0.0.5:8080 \t", "http://10.0.0.5:8080/"},
        {"http://mirror.school/lists/tul/", "http://mirror.school/lists/tul/"},
        {"", ""},
        {"books.example/Tallyleaf/", ""},
        {"ftp://books.example/", ""},
        {"http://", ""},
        {"http:///Tallyleaf/", ""},
        {"http://books example/", ""},
        {"HTTP://books.example/", ""},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(NormaliseServerBaseUrl(text), expected) << text;
}

TEST(StartupConstantsTest, EnvironmentComesBeforeServerFile) {
    TestFolder folder;
    unsetenv("TALLYLEAF_SERVER_URL");
    WriteFile("Server.txt", "http://mirror.school/tul\r\nhttp://second.line/\r\n");
    EXPECT_EQ(ConfiguredServerBaseUrl(CurrentDataFolder()), "http://mirror.school/tul/");

    setenv("TALLYLEAF_SERVER_URL", "https://books.example/Tallyleaf/", 1);
    EXPECT_EQ(ConfiguredServerBaseUrl(CurrentDataFolder()), "https://books.example/Tallyleaf/");
    // Set but unusable still counts: it switches the server off for one run.
    setenv("TALLYLEAF_SERVER_URL", "", 1);
    EXPECT_EQ(ConfiguredServerBaseUrl(CurrentDataFolder()), "");
    unsetenv("TALLYLEAF_SERVER_URL");
}

}  // namespace
