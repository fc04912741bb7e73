// The test runner's private network: loopback connections carry data, and a
// UDP broadcast comes back to a listener on this machine, as the game's
// server discovery needs.

#include <gtest/gtest.h>

#include <winsock2.h>
#include <ws2tcpip.h>

namespace {

class WinsockTest : public testing::Test {
protected:
    void SetUp() override
    {
        WSADATA data;
        ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    }
    void TearDown() override { WSACleanup(); }

    static sockaddr_in Address(uint32_t host, uint16_t port)
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(host);
        address.sin_port = htons(port);
        return address;
    }

    static bool Readable(SOCKET s, int milliseconds)
    {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(s, &readable);
        timeval timeout{milliseconds / 1000, (milliseconds % 1000) * 1000};
        return select(0, &readable, nullptr, nullptr, &timeout) == 1;
    }
};

} // namespace

TEST_F(WinsockTest, LoopbackConnectionCarriesData)
{
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = Address(INADDR_LOOPBACK, 0);
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(listener, 1), 0);
    int length = sizeof address;
    ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);

    SOCKET client = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    ASSERT_EQ(connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    SOCKET server = accept(listener, nullptr, nullptr);
    ASSERT_NE(server, INVALID_SOCKET);

    ASSERT_EQ(send(client, "ping", 4, 0), 4);
    char buffer[8] = {};
    ASSERT_TRUE(Readable(server, 2000));
    EXPECT_EQ(recv(server, buffer, sizeof buffer, 0), 4);
    EXPECT_STREQ(buffer, "ping");

    closesocket(server);
    closesocket(client);
    closesocket(listener);
}

TEST_F(WinsockTest, BroadcastComesBackToALocalListener)
{
    SOCKET listener = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    sockaddr_in bound = Address(INADDR_ANY, 0);
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&bound), sizeof bound), 0);
    int length = sizeof bound;
    ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&bound), &length), 0);

    SOCKET sender = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    BOOL on = TRUE;
    ASSERT_EQ(setsockopt(sender, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&on), sizeof on), 0);
    sockaddr_in broadcast = Address(INADDR_BROADCAST, ntohs(bound.sin_port));
    ASSERT_EQ(sendto(sender, "announce", 8, 0, reinterpret_cast<sockaddr*>(&broadcast), sizeof broadcast), 8);

    ASSERT_TRUE(Readable(listener, 2000));
    char buffer[16] = {};
    EXPECT_EQ(recv(listener, buffer, sizeof buffer, 0), 8);
    EXPECT_STREQ(buffer, "announce");

    closesocket(sender);
    closesocket(listener);
}
