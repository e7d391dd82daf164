// The WinHTTP client against a real server on the loopback interface.
#include "platform/win32/winhttp_client.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "support/loopback_http_server_win.h"

namespace tastomat {
namespace {

using test::LoopbackHttpServer;
using test::LoopbackReply;
using test::LoopbackRequest;

// Short, so that the case of a server that never answers ends quickly.
constexpr HttpTimeouts kTestTimeouts{2000, 2000, 2000, 2000};

struct ReplyCase {
    const char* what;
    LoopbackHttpServer::Handler handler;
    std::optional<std::int64_t> head;  // nothing: HEAD fails
    std::optional<std::string> body;   // nothing: GET fails
};

LoopbackReply file(const std::string& body, bool announce = true) {
    LoopbackReply reply;
    reply.body = body;
    reply.content_length = announce;
    return reply;
}

TEST(WinHttpClient, RepliesAndTheirOutcomes) {
    const std::vector<ReplyCase> cases = {
        {"200 with Content-Length", [](const LoopbackRequest&) { return file("1,05\r\n"); }, 6,
         "1,05\r\n"},
        {"200 without Content-Length",
         [](const LoopbackRequest&) { return file("1,05\r\n", false); }, -1, "1,05\r\n"},
        {"404",
         [](const LoopbackRequest&) {
             LoopbackReply reply = file("not here");
             reply.status = 404;
             return reply;
         },
         std::nullopt, std::nullopt},
        {"301 is not followed",
         [](const LoopbackRequest& request) {
             if (request.path == "/elsewhere/tastomat.ver") return file("9,99");
             LoopbackReply reply;
             reply.status = 301;
             reply.headers = {{"Location", "/elsewhere/tastomat.ver"}};
             return reply;
         },
         std::nullopt, std::nullopt},
        {"HEAD refused, GET served",
         [](const LoopbackRequest& request) {
             LoopbackReply reply = file("1,05");
             if (request.method == "HEAD") reply.status = 405;
             return reply;
         },
         std::nullopt, "1,05"},
        {"connection ends before the announced length",
         [](const LoopbackRequest&) {
             LoopbackReply reply = file("PK-short");
             reply.announced_length = 1000;
             return reply;
         },
         1000, std::nullopt},
    };
    for (const ReplyCase& c : cases) {
        SCOPED_TRACE(c.what);
        LoopbackHttpServer server(c.handler);
        WinHttpClient client(kTestTimeouts);
        const std::string url = server.url("/download/tastomat.ver");
        if (c.head) {
            EXPECT_EQ(client.head(url), *c.head);
        } else {
            EXPECT_THROW(client.head(url), HttpError);
        }
        if (c.body) {
            EXPECT_EQ(client.get(url, nullptr), *c.body);
        } else {
            EXPECT_THROW(client.get(url, nullptr), HttpError);
        }
        const std::vector<LoopbackRequest> seen = server.requests();
        ASSERT_EQ(seen.size(), 2u) << "one HEAD and one GET, no redirect followed";
        EXPECT_EQ(seen[0].method, "HEAD");
        EXPECT_EQ(seen[1].method, "GET");
        for (const LoopbackRequest& request : seen) {
            EXPECT_EQ(request.path, "/download/tastomat.ver");
            EXPECT_EQ(request.headers.at("user-agent"), "Mozilla/3.0 (compatible; Indy Library)");
            EXPECT_EQ(request.headers.at("accept"), "text/html, */*");
        }
    }
}

TEST(WinHttpClient, LargeBodyArrivesWholeWithRisingProgress) {
    std::string archive(5 * 1024 * 1024 + 17, '\0');
    for (size_t i = 0; i < archive.size(); ++i) archive[i] = static_cast<char>(i * 7 % 251);
    LoopbackHttpServer server([&](const LoopbackRequest&) { return file(archive); });
    WinHttpClient client(kTestTimeouts);
    std::vector<std::int64_t> reports;
    const std::string body = client.get(server.url("/download/tastomat.zip"),
                                        [&](std::int64_t count) { reports.push_back(count); });
    EXPECT_TRUE(body == archive) << "body differs, " << body.size() << " bytes";
    ASSERT_GT(reports.size(), 2u);
    EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
    EXPECT_EQ(reports.back(), static_cast<std::int64_t>(archive.size()));
}

// The shipped limit is 64 MiB; a small one shows the same paths without sending that much.
TEST(WinHttpClient, ABodyAboveTheLimitIsRefusedWhetherAnnouncedOrOnlyReceived) {
    constexpr std::int64_t kLimit = 100000;
    struct Case {
        const char* what;
        LoopbackReply reply;
        bool refused;
        std::int64_t largest_report;  // the most progress may have seen
    };
    auto sized = [](size_t size, bool announce, std::optional<size_t> announced = {}) {
        LoopbackReply reply = file(std::string(size, 'z'), announce);
        reply.announced_length = announced;
        return reply;
    };
    const Case cases[] = {
        {"exactly the limit, announced", sized(kLimit, true), false, kLimit},
        {"exactly the limit, not announced", sized(kLimit, false), false, kLimit},
        {"announced above it: nothing read", sized(10, true, kLimit + 1), true, 0},
        {"one byte above it, announced", sized(kLimit + 1, true), true, 0},
        {"above it, not announced: stopped at the limit", sized(3 * kLimit, false), true, kLimit},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LoopbackHttpServer server([&](const LoopbackRequest&) { return c.reply; });
        WinHttpClient client(kTestTimeouts, ProxySource::System, kLimit);
        std::int64_t largest = 0;
        const auto get = [&] {
            return client.get(server.url("/download/tastomat.zip"),
                              [&](std::int64_t count) { largest = std::max(largest, count); });
        };
        if (c.refused) {
            EXPECT_THROW(get(), HttpError);
        } else {
            EXPECT_EQ(get().size(), static_cast<size_t>(kLimit));
        }
        EXPECT_LE(largest, c.largest_report);
    }
}

TEST(WinHttpClient, AProgressHandlerMayAbandonTheTransfer) {
    LoopbackHttpServer server(
        [](const LoopbackRequest&) { return file(std::string(1 << 20, 'x')); });
    WinHttpClient client(kTestTimeouts);
    struct Abandoned {};
    EXPECT_THROW(client.get(server.url("/a"), [](std::int64_t) { throw Abandoned{}; }), Abandoned);
    EXPECT_EQ(client.get(server.url("/b"), nullptr).size(), 1u << 20) << "client still usable";
}

TEST(WinHttpClient, ServerThatNeverAnswersOrIsNotThereEndsInAnError) {
    std::string closed_port_url;
    {
        LoopbackHttpServer gone([](const LoopbackRequest&) { return file(""); });
        closed_port_url = gone.url("/download/tastomat.ver");
    }
    WinHttpClient client(kTestTimeouts);
    EXPECT_THROW(client.head(closed_port_url), HttpError);

    LoopbackHttpServer silent([](const LoopbackRequest&) {
        LoopbackReply reply;
        reply.never_answer = true;
        return reply;
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(client.head(silent.url("/download/tastomat.ver")), HttpError);
    EXPECT_THROW(client.get(silent.url("/download/tastomat.zip"), nullptr), HttpError);
    // Two time-outs of 2 s each; the bound only tells "ended" from "hung".
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
    EXPECT_EQ(silent.requests().size(), 2u);
}

}  // namespace
}  // namespace tastomat
