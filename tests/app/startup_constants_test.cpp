#include "app/startup_constants.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>

#include "support/test_folder.h"
#include "support/test_services.h"

namespace {

// What the program makes of an address: its base address, "malformed" or "none".
std::string Outcome(const ServerAddress& address) {
    if (!address.baseUrl.empty()) return address.baseUrl;
    return address.configured.empty() ? "none" : "malformed";
}

TEST(StartupConstantsTest, NormalisesTheServerAddress) {
    const std::pair<const char*, const char*> cases[] = {
        {"http://books.example/Tallyleaf/", "http://books.example/Tallyleaf/"},
        {"https://books.example/Tallyleaf", "https://books.example/Tallyleaf/"},
        {"  http://10.0.0.5:8080 \t", "http://10.0.0.5:8080/"},
        {"http://mirror.school/lists/tul/", "http://mirror.school/lists/tul/"},
        {"HTTP://books.example/Tallyleaf/", "http://books.example/Tallyleaf/"},
        {"\xEF\xBB\xBFhttp://books.example/", "http://books.example/"},
        {"\xEF\xBB\xBF  http://books.example/ ", "http://books.example/"},
        {"", "none"},
        {"\xEF\xBB\xBF", "none"},
        {"books.example/Tallyleaf/", "malformed"},
        {"ftp://books.example/", "malformed"},
        {"http://", "malformed"},
        {"http:///Tallyleaf/", "malformed"},
        {"http://books example/", "malformed"},
        {" \xEF\xBB\xBFhttp://books.example/", "malformed"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(Outcome(ServerAddressFrom(text)), expected) << text;
}

TEST(StartupConstantsTest, EnvironmentComesBeforeServerFile) {
    TestFolder folder;
    unsetenv("TALLYLEAF_SERVER_URL");
    WriteFile("Server.txt", "http://mirror.school/tul\r\nhttp://second.line/\r\n");
    EXPECT_EQ(ConfiguredServerAddress(CurrentDataFolder()).baseUrl, "http://mirror.school/tul/");

    setenv("TALLYLEAF_SERVER_URL", "https://books.example/Tallyleaf/", 1);
    EXPECT_EQ(ConfiguredServerAddress(CurrentDataFolder()).baseUrl,
              "https://books.example/Tallyleaf/");
    // Set but unusable still counts: it switches the server off for one run.
    setenv("TALLYLEAF_SERVER_URL", "", 1);
    EXPECT_EQ(Outcome(ConfiguredServerAddress(CurrentDataFolder())), "none");
    unsetenv("TALLYLEAF_SERVER_URL");
}

// A FIFO left as "Server.txt" is no server, and reading it must not wait for a writer.
TEST(StartupConstantsTest, ServerFileThatIsAFifoIsNoServer) {
    TestFolder folder;
    unsetenv("TALLYLEAF_SERVER_URL");
    ASSERT_EQ(::mkfifo("Server.txt", 0600), 0);
    auto read =
        std::async(std::launch::async, [] { return ConfiguredServerAddress(CurrentDataFolder()); });
    const bool returned = read.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    // Otherwise a writer lets the reader go, so that the test fails instead of hanging.
    if (!returned) ::close(::open("Server.txt", O_WRONLY));
    EXPECT_TRUE(returned);
    EXPECT_EQ(Outcome(read.get()), "none");
}

}  // namespace
