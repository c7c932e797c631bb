#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "base/TextList.h"
#include "net/HttpCliConfig.h"
#include "net/HttpRequest.h"
#include "net/ReceiveBuffer.h"
#include "net/Socket.h"

namespace tovali {

class MainLoopPoster;
class HttpCli;

// The client's states, in their fixed order.
enum class HttpState {
  Ready,
  Starting,
  Connected,
  LookingUpHost,
  HostFound,
  AwaitingHeader,
  ReceivingBody,
  Aborting
};

enum class HttpRequestType { Get, Post, Head };

// The events a caller can bind. Each is called on the main loop's thread.
// A handler may call Abort(); it must not destroy the client.
struct HttpCliEvents {
  std::function<void(HttpCli&)> OnDocBegin;
  std::function<void(HttpCli&, const char* buffer, std::size_t len)> OnDocData;
  std::function<void(HttpCli&)> OnDocEnd;
  std::function<void(HttpCli&)> OnStateChange;
  std::function<void(HttpCli&)> OnLocationChange;
  std::function<void(HttpCli&, HttpRequestType, int error)> OnRequestDone;
};

// Fetches one document with an HTTP/1.0 GET, directly or through a proxy,
// without blocking: StartGet returns at once and the work happens in the
// socket's notifications. Every connection-level failure ends the request
// with StatusCode 404 and a ReasonPhrase saying why. The request ends when
// the server closes the connection; State turns Ready only in a task posted
// to the main loop after the notification that ended the request returned.
//
// An "https" URL is fetched over TLS: the socket checks the server's
// certificate and name, then the same request goes through the secure
// connection. Through a proxy, a CONNECT tunnel is opened first. A failed
// handshake, a refused tunnel and a relocation from https:// to another
// scheme end the request as failed (404) with security_failure() set.
//
// Beyond the classic component: at most kMaxRelocations relocations in a row;
// a reset connection, a header cut short, a malformed header (status code or
// Content-Length not a number, a NUL byte, a line over 8192 bytes), a header
// block over kMaxHeaderBytes (line texts plus one byte per line end, per
// response, the proxy's answer to CONNECT included) and a lookup that cannot start all end
// the request as failed (404).
class HttpCli : private SocketListener {
 public:
  static constexpr int kMaxRelocations = 10;
  static constexpr std::size_t kMaxHeaderBytes = 65536;

  // `socket` and `poster` must outlive the client.
  HttpCli(Socket& socket, MainLoopPoster& poster);
  ~HttpCli();
  HttpCli(const HttpCli&) = delete;
  HttpCli& operator=(const HttpCli&) = delete;

  HttpCliConfig& config() { return m_config; }
  const HttpCliConfig& config() const { return m_config; }
  HttpCliEvents& events() { return m_events; }

  // Starts a GET of config().URL and returns at once. Throws EHttpException 1
  // ("HTTP component is busy") when State is not Ready; the running request
  // is left untouched then.
  void StartGet();

  // Ends the request in progress at once: StatusCode 404, ReasonPhrase
  // "Connection aborted on request", State Ready when it returns.
  void Abort();

  HttpState State() const { return m_state; }
  int StatusCode() const { return m_status_code; }
  const std::string& ReasonPhrase() const { return m_reason_phrase; }
  std::int64_t ContentLength() const { return m_content_length; }
  const std::string& ContentType() const { return m_content_type; }
  const TextList& RcvdHeader() const { return m_rcvd_header; }
  // 0, or 3 after Abort.
  int request_done_error() const { return m_request_done_error; }
  // True when the last request failed for want of a secure connection.
  bool security_failure() const { return m_security_failure; }
  // Where the request went last (after relocations).
  const HttpTarget& target() const { return m_target; }

 private:
  void socket_lookup_done(int error, const std::string& address) override;
  void socket_connected(int error) override;
  void socket_data(std::string_view bytes) override;
  void socket_closed(int error) override;
  void socket_secured(const std::string& problem) override;

  void set_state(HttpState state);
  void start_lookup();
  void host_found(const std::string& address);
  void send_request();
  void begin_tls();
  void tunnel_data(std::string_view bytes);
  void fail_secure(const std::string& reason);
  void process_buffer();
  // Adds one header line and its line end to m_header_bytes; throws
  // EHttpException when the block grows past kMaxHeaderBytes.
  void count_header_bytes(const std::string& line);
  void header_line(const std::string& line);
  void header_end();
  void relocate();
  void restart();
  void body_chunk(std::string_view chunk);
  void close_connection();
  void fail(int status_code, const std::string& reason);
  void end_request();
  void ready_notice(unsigned request);
  bool connection_changed(unsigned connection) const { return connection != m_connection; }

  Socket& m_socket;
  MainLoopPoster& m_poster;
  HttpCliConfig m_config;
  HttpCliEvents m_events;
  std::shared_ptr<HttpCli*> m_self;  // posted tasks hold a weak reference

  HttpState m_state = HttpState::Ready;
  int m_status_code = 0;
  std::string m_reason_phrase;
  std::int64_t m_content_length = -1;
  std::string m_content_type;
  TextList m_rcvd_header;
  int m_request_done_error = 0;

  HttpRequestType m_request_type = HttpRequestType::Get;
  HttpTarget m_target;
  ReceiveBuffer m_buffer;
  bool m_relocation = false;
  std::string m_location;
  int m_relocations = 0;
  int m_header_lines = 0;
  std::size_t m_header_bytes = 0;  // of the header block being read
  int m_body_chunks = 0;
  bool m_closed_for_error_status = false;
  // Setting up TLS while State is Connected: the proxy's answer to CONNECT,
  // then the handshake.
  enum class SecureStep { None, Tunnel, Handshake };
  SecureStep m_secure_step = SecureStep::None;
  bool m_security_failure = false;
  bool m_ended = true;
  unsigned m_request = 0;     // counts requests started
  unsigned m_connection = 0;  // changes whenever the connection closes
};

}  // namespace tovali
