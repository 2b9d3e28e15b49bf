#include "transport/EchoCheck.h"

#include <windows.h>
// In this order, after windows.h.
#include <iphlpapi.h>
// The ICMP service's calls.
#include <icmpapi.h>

#include <array>
#include <memory>

#include "platform/Socket.h"

namespace orvane {

namespace {

// The request's data as the echo carries it back: the millisecond tick at
// sending and the fill bytes; the system's ICMP service writes the header.
constexpr std::size_t kPayloadSize = kEchoRequestSize - EchoOffset::Timestamp;
// Room for one answer with its data, and for what the service may add: an
// ICMP error message (8 bytes) and an I/O status block (two pointers).
constexpr std::size_t kReplySize = sizeof(ICMP_ECHO_REPLY) + kPayloadSize + 8 + 2 * sizeof(void*);

struct IcmpHandleCloser {
  void operator()(HANDLE handle) const { ::IcmpCloseHandle(handle); }
};
using IcmpHandle = std::unique_ptr<void, IcmpHandleCloser>;

// An attempt that went out and came back without an answer: the address is
// silent or unreachable. Any other failure says that the service could not
// run the attempt.
bool unanswered(DWORD status) {
  switch (status) {
    case IP_REQ_TIMED_OUT:
    case IP_DEST_NET_UNREACHABLE:
    case IP_DEST_HOST_UNREACHABLE:
    case IP_DEST_PROT_UNREACHABLE:
    case IP_DEST_PORT_UNREACHABLE:
    case IP_TTL_EXPIRED_TRANSIT:
      return true;
    default:
      return false;
  }
}

}  // namespace

// The check goes through the system's ICMP service (IcmpSendEcho), which
// any user may use: up to `echoAttempts` requests, each waiting
// `echoTimeout` for its answer. A service that cannot be opened, or that
// fails an attempt for a reason other than a missing answer, makes the
// check unavailable, and the link connects without it.
EchoCheck::EchoCheck(const Timings& timings, Socket socket) : timings_(timings), socket_(socket) {}

int EchoCheck::check(const std::string& address) {
  in_addr to{};
  if (!sockets::parseIpv4(address, to)) return EchoResult::SendFailed;
  const IcmpHandle icmp(::IcmpCreateFile());
  if (icmp.get() == INVALID_HANDLE_VALUE) return EchoResult::SocketFailed;
  const auto timeout = static_cast<DWORD>(timings_.echoTimeout.count());
  alignas(ICMP_ECHO_REPLY) std::array<unsigned char, kReplySize> reply{};
  for (int attempt = 0; attempt < timings_.echoAttempts; ++attempt) {
    EchoRequest request = buildEchoRequest(echoIdentifier(), static_cast<std::uint16_t>(attempt), echoTick());
    const DWORD answers = ::IcmpSendEcho(icmp.get(), to.S_un.S_addr, request.data() + EchoOffset::Timestamp,
                                         kPayloadSize, nullptr, reply.data(), reply.size(), timeout);
    const auto* answer = reinterpret_cast<const ICMP_ECHO_REPLY*>(reply.data());
    if (answers > 0 && answer->Status == IP_SUCCESS) return static_cast<int>(answer->RoundTripTime);
    const DWORD status = answers > 0 ? answer->Status : ::GetLastError();
    if (!unanswered(status)) return EchoResult::SendFailed;
  }
  return EchoResult::NoAnswer;
}

}  // namespace orvane
