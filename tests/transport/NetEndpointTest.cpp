#include <gtest/gtest.h>

#include "transport/NetEndpoint.h"

namespace orvane {
namespace {

// Parsing only; nothing here is ever contacted.
TEST(NetEndpointTest, DottedQuadWithOptionalPort) {
  const auto plain = parseNetEndpoint("192.0.2.10", 8899);
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->host, "192.0.2.10");
  EXPECT_EQ(plain->port, 8899);
  const auto withPort = parseNetEndpoint("127.0.0.1:9000", 8899);
  ASSERT_TRUE(withPort);
  EXPECT_EQ(withPort->host, "127.0.0.1");
  EXPECT_EQ(withPort->port, 9000);
  EXPECT_EQ(parseNetEndpoint("127.0.0.1:65535", 8899)->port, 65535);
  EXPECT_EQ(ntohs(withPort->socketAddress().sin_port), 9000);
  EXPECT_EQ(ntohl(withPort->socketAddress().sin_addr.s_addr), 0x7F000001u);
}

TEST(NetEndpointTest, AnythingElseIsRefused) {
  for (const char* bad : {"", "localhost", "192.0.2", "192.0.2.300", " 192.0.2.1", "192.0.2.1 ",
                          "192.0.2.1:", "192.0.2.1:0", "192.0.2.1:65536", "192.0.2.1:-1", "192.0.2.1:+80",
                          "192.0.2.1:80x", "192.0.2.1:80:81", ":8899", "::1"})
    EXPECT_FALSE(parseNetEndpoint(bad, 8899)) << '"' << bad << '"';
}

}  // namespace
}  // namespace orvane
