#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <set>

#include "platform/qt/download.h"
#include "support/gui/gui_helpers.h"
#include "support/gui/test_server.h"
#include "support/test_folder.h"

namespace {

namespace fs = std::filesystem;

class DownloadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // The machine's own proxy must not see the test's requests to 127.0.0.1.
        for (const char* name :
             {"http_proxy", "https_proxy", "no_proxy", "HTTP_PROXY", "HTTPS_PROXY", "NO_PROXY"})
            unsetenv(name);
        fs::create_directory(served);
        WriteFile(served / "Item.txt", "new contents\r\n");
        WriteFile(folder.Path() / "Got.txt", "old\r\n");
    }
    void TearDown() override { unsetenv("http_proxy"); }

    TestFolder folder;
    fs::path served = folder.Path() / "served";
};

struct TransferCase {
    const char* name;
    const char* path;
    bool complete;
    const char* reason;  // a piece of it
};

// The file takes its name only from a whole answer; otherwise the earlier one stays.
TEST_F(DownloadTest, ReplacesTheFileOnlyWithACompleteBody) {
    const TransferCase cases[] = {
        {"whole file", "/Tallyleaf/Item.txt", true, ""},
        {"not found", "/missing:Item.txt/Item.txt", false, "status 404"},
        {"body shorter than declared", "/short:Item.txt/Item.txt", false, ""},
        {"stalls after the headers", "/stall:Item.txt/Item.txt", false, "no data came for"},
        {"never ends", "/endless:Item.txt/Item.txt", false, "larger than 65536 bytes"},
        {"declares a terabyte", "/huge:Item.txt/Item.txt", false, "larger than 65536 bytes"},
        {"one byte a second", "/trickle:Item.txt/Item.txt", false, "took more than 3 seconds"},
        {"compressed", "/gzip:Item.txt/Item.txt", false, "encoded as \"gzip\""},
        {"labelled compressed", "/labelled:Item.txt/Item.txt", false, "encoded as \"gzip\""},
        // Whether a page is a booklist is for the booklist's code to say.
        {"HTML page", "/html:Item.txt/Item.txt", true, ""},
    };
    TestServer server = TestServer::Odd(served.string());
    ASSERT_NE(server.Port(), 0);
    for (const TransferCase& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(folder.Path() / "Got.txt", "old\r\n");
        const DownloadResult result =
            DownloadToFile(server.Url(c.path), "Got.txt", {1500, 2500, 1 << 16});
        EXPECT_EQ(result.complete, c.complete) << result.reason;
        EXPECT_NE(result.reason.find(c.reason), std::string::npos) << result.reason;
        if (!c.complete) {
            EXPECT_EQ(ReadFile("Got.txt"), "old\r\n");
        }
        EXPECT_EQ(FileNamesIn(folder.Path()), (std::set<std::string>{"Got.txt", "served"}));
    }
    EXPECT_EQ(ReadFile("Got.txt").substr(0, 6), "<!DOCT");
}

TEST_F(DownloadTest, NothingListeningFailsAndLeavesNoFile) {
    TestServer server = TestServer::Plain(served.string());
    ASSERT_NE(server.Port(), 0);
    server.Stop();
    const DownloadResult result = DownloadToFile(server.Url("/Item.txt"), "New.txt");
    EXPECT_FALSE(result.complete);
    EXPECT_FALSE(result.reason.empty());
    EXPECT_EQ(FileNamesIn(folder.Path()), (std::set<std::string>{"Got.txt", "served"}));
}

TEST_F(DownloadTest, GoesThroughTheProxyNamedByHttpProxy) {
    TestServer origin = TestServer::Plain(served.string());
    const fs::path record = folder.Path() / "forwarded.txt";
    TestServer proxy = TestServer::Odd(served.string(), record.string());
    ASSERT_NE(origin.Port(), 0);
    ASSERT_NE(proxy.Port(), 0);
    setenv("http_proxy", proxy.Url("").c_str(), 1);
    // Requests for 127.0.0.1 never go through a proxy; the proxy takes this name for it.
    const std::string url = "http://origin.test:" + std::to_string(origin.Port()) + "/Item.txt";

    const DownloadResult result = DownloadToFile(url, "Got.txt");
    ASSERT_TRUE(result.complete) << result.reason;
    EXPECT_EQ(ReadFile("Got.txt"), "new contents\r\n");
    EXPECT_EQ(ReadFile(record), url + "\n");
}

}  // namespace
