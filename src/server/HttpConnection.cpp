#include "server/HttpConnection.h"

#include <boost/asio/post.hpp>
#include <boost/beast/http/read.hpp>
#include <boost/beast/http/write.hpp>
#include <limits>

#include "server/ControlPage.h"
#include "server/EventStream.h"
#include "server/HttpReplies.h"

namespace orvane::server {

namespace {

namespace beast = boost::beast;

// Read at once when a request starts; the rest goes by the header limit.
constexpr std::size_t kFirstRead = 1024;

bool isApi(const Request& request) {
  return request.target().starts_with("/api/");
}

bool isRead(const Request& request) {
  return request.method() == http::verb::get || request.method() == http::verb::head;
}

// The largest body `request` may carry: a file for the one target that
// takes one, a small JSON value for the rest.
std::size_t bodyLimit(const Request& request, const HttpLimits& limits) {
  return request.target() == HttpLimits::kFileTarget ? limits.fileBodyBytes : limits.bodyBytes;
}

}  // namespace

HttpConnection::HttpConnection(boost::asio::ip::tcp::socket socket, ConnectionCounter::Slot slot, Peer peer,
                               const Shared& shared)
    : stream_(std::move(socket)),
      slot_(std::move(slot)),
      peer_(std::move(peer)),
      shared_(shared),
      buffer_(shared.limits.headerBytes + shared.limits.bodyBytes) {}

void HttpConnection::awaitRequest() {
  parser_.emplace();
  parser_->header_limit(static_cast<std::uint32_t>(shared_.limits.headerBytes));
  // The body's size is judged by the headers, with a message of its own;
  // the limit is set before the body is read.
  parser_->body_limit(std::numeric_limits<std::uint64_t>::max());
  if (buffer_.size() > 0) return readHeader();  // the next request came with the last one
  // The time for the headers counts from the request's first byte; until
  // then the idle limit holds.
  stream_.expires_after(shared_.limits.idleTime);
  const std::size_t room = std::min(kFirstRead, buffer_.max_size() - buffer_.size());
  stream_.async_read_some(buffer_.prepare(room), [self = shared_from_this()](Error error, std::size_t size) {
    self->buffer_.commit(size);
    if (error || size == 0) return self->close();
    self->readHeader();
  });
}

void HttpConnection::readHeader() {
  stream_.expires_after(shared_.limits.headerTime);
  http::async_read_header(stream_, buffer_, *parser_,
                          [self = shared_from_this()](Error error, std::size_t) { self->onHeader(error); });
}

void HttpConnection::onHeader(Error error) {
  if (error == http::error::header_limit || error == http::error::buffer_overflow)
    return respond(HttpReplies::error(http::status::request_header_fields_too_large,
                                      "the request's headers are too large"),
                   true);
  const bool malformed = error &&
                         error.category() == http::make_error_code(http::error::bad_target).category() &&
                         error != http::error::end_of_stream && error != http::error::partial_message;
  if (malformed)
    return respond(HttpReplies::error(http::status::bad_request, "this is no HTTP request"), true);
  if (error) return close();
  if (auto refusal = refuseByHeader()) return respond(std::move(*refusal), true);
  if (parser_->is_done()) return dispatch();
  parser_->body_limit(bodyLimit(parser_->get(), shared_.limits));
  stream_.expires_after(shared_.limits.bodyTime);
  http::async_read(stream_, buffer_, *parser_,
                   [self = shared_from_this()](Error error, std::size_t) { self->onBody(error); });
}

std::optional<Response> HttpConnection::refuseByHeader() const {
  const Request& request = parser_->get();
  const auto lines = static_cast<std::size_t>(std::distance(request.begin(), request.end()));
  if (lines > shared_.limits.headerLines)
    return HttpReplies::error(http::status::request_header_fields_too_large,
                              "the request has too many headers");
  const bool body = parser_->chunked() || parser_->content_length().value_or(0) > 0;
  if (!isApi(request)) {
    if (!isRead(request))
      return ControlPage::find(request.target())
                 ? HttpReplies::wrongMethod("GET, HEAD", "only GET and HEAD are served here")
                 : HttpReplies::error(http::status::not_found, "no such resource");
    if (body) return HttpReplies::error(http::status::payload_too_large, "a page request has no body");
    return std::nullopt;
  }
  if (parser_->chunked())
    return HttpReplies::error(http::status::length_required, "send the body with a Content-Length");
  if (request.count(http::field::content_encoding) > 0)
    return HttpReplies::error(http::status::unsupported_media_type,
                              "send the body without a Content-Encoding");
  if (parser_->content_length().value_or(0) > bodyLimit(request, shared_.limits))
    return HttpReplies::error(http::status::payload_too_large, "the request's body is too large");
  return std::nullopt;
}

void HttpConnection::onBody(Error error) {
  if (error == http::error::body_limit)
    return respond(HttpReplies::error(http::status::payload_too_large, "the request's body is too large"),
                   true);
  if (error) return close();
  dispatch();
}

void HttpConnection::dispatch() {
  Answer answer = shared_.handler.answer(parser_->get(), peer_);
  if (auto* deferred = std::get_if<Deferred>(&answer)) return deferTo(std::move(*deferred));
  if (auto* source = std::get_if<EventSource>(&answer)) return stream(std::move(*source));
  respond(std::move(std::get<Response>(answer)), !parser_->get().keep_alive());
}

void HttpConnection::deferTo(Deferred deferred) {
  const bool last = !parser_->get().keep_alive();
  auto self = shared_from_this();
  const bool queued = shared_.work.post([self, last, work = std::move(deferred.work)] {
    Response response = work();
    boost::asio::post(self->stream_.get_executor(), [self, last, response = std::move(response)]() mutable {
      self->respond(std::move(response), last);
    });
  });
  if (!queued)
    respond(HttpReplies::error(http::status::service_unavailable, "the server is busy; try again"), last);
}

void HttpConnection::stream(EventSource source) {
  ConnectionCounter::Slot place = shared_.streams.admit(peer_.address);
  if (!place)
    return respond(HttpReplies::error(http::status::service_unavailable, "too many pages are open"),
                   !parser_->get().keep_alive());
  std::make_shared<EventStream>(std::move(stream_), std::move(slot_), std::move(place), std::move(source),
                                shared_.limits)
      ->start();
}

void HttpConnection::respond(Response response, bool last) {
  const bool head = parser_ && parser_->is_header_done() && parser_->get().method() == http::verb::head;
  response.version(11);
  response.keep_alive(!last);
  response.prepare_payload();
  if (head) response.body().clear();  // the length stays that of the page
  response_ = std::make_shared<Response>(std::move(response));
  stream_.expires_after(shared_.limits.writeTime);
  http::async_write(stream_, *response_, [self = shared_from_this(), last](Error error, std::size_t) {
    self->response_.reset();
    if (error || last) return self->close();
    self->awaitRequest();
  });
}

void HttpConnection::close() {
  Error ignored;
  stream_.socket().shutdown(boost::asio::ip::tcp::socket::shutdown_send, ignored);
  stream_.close();
}

}  // namespace orvane::server
