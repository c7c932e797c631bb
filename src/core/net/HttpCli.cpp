#include "net/HttpCli.h"

#include <cerrno>
#include <exception>
#include <string>

#include "net/HttpException.h"
#include "net/HttpResponse.h"
#include "net/HttpUrl.h"
#include "net/MainLoopPoster.h"
#include "net/SocketErrors.h"

namespace tovali {

namespace {

constexpr const char* kCantResolve = "can't resolve hostname to IP address";

std::string describe_socket_error(int error_number) {
  const int code = socket_error_code_from_errno(error_number);
  return socket_error_description(code) + " (Error #" + std::to_string(code) + ")";
}

}  // namespace

HttpCli::HttpCli(Socket& socket, MainLoopPoster& poster)
    : m_socket(socket), m_poster(poster), m_self(std::make_shared<HttpCli*>(this)) {
  m_socket.set_listener(this);
}

HttpCli::~HttpCli() {
  m_socket.set_listener(nullptr);
  m_socket.close();
}

void HttpCli::set_state(HttpState state) {
  m_state = state;
  if (m_events.OnStateChange) m_events.OnStateChange(*this);
}

void HttpCli::StartGet() {
  if (m_state != HttpState::Ready) {
    throw EHttpException("HTTP component is busy", EHttpException::kBusy);
  }
  ++m_request;
  m_ended = false;
  m_rcvd_header.clear();
  m_request_type = HttpRequestType::Get;
  m_request_done_error = 0;
  m_status_code = 0;
  m_content_length = -1;
  m_content_type.clear();
  m_header_lines = 0;
  m_header_bytes = 0;
  m_body_chunks = 0;
  m_relocations = 0;
  m_relocation = false;
  m_location.clear();
  m_closed_for_error_status = false;
  m_secure_step = SecureStep::None;
  m_security_failure = false;
  m_buffer.clear();
  set_state(HttpState::Starting);
  m_target = make_http_target(m_config);
  set_state(HttpState::LookingUpHost);
  start_lookup();
}

void HttpCli::start_lookup() {
  const std::string& host = m_target.ConnectHost;
  if (host.empty()) {
    fail(404, kCantResolve);
    return;
  }
  if (is_dotted_ipv4(host)) {
    host_found(host);
    return;
  }
  int error = 0;
  bool started = false;
  try {
    started = m_socket.start_lookup(host, error);
  } catch (const std::exception&) {
    started = false;
  }
  if (!started) fail(404, kCantResolve);
}

void HttpCli::socket_lookup_done(int error, const std::string& address) {
  if (m_state != HttpState::LookingUpHost) return;
  const unsigned request = m_request;
  try {
    if (error != 0 || address.empty()) {
      fail(404, kCantResolve);
      return;
    }
    host_found(address);
  } catch (const std::exception& e) {
    if (request == m_request && !m_ended) fail(404, e.what());
  }
}

void HttpCli::host_found(const std::string& address) {
  set_state(HttpState::HostFound);
  const int port = parse_port(m_target.ConnectPort);
  int error = 0;
  if (port == 0) {
    error = EINVAL;
  } else {
    bool started = false;
    try {
      started = m_socket.start_connect(address, port, error);
    } catch (const std::exception&) {
      error = EINVAL;
    }
    if (started) return;
  }
  fail(404, "can't connect: " + describe_socket_error(error));
}

void HttpCli::socket_connected(int error) {
  if (m_state != HttpState::HostFound) return;
  const unsigned request = m_request;
  try {
    if (error != 0) {
      fail(404, describe_socket_error(error));
      return;
    }
    set_state(HttpState::Connected);
    if (m_target.transport == HttpTransport::Tls) {
      if (m_target.connection == HttpConnection::ThroughProxy) {
        m_secure_step = SecureStep::Tunnel;
        m_header_lines = 0;
        m_header_bytes = 0;
        m_socket.send(build_connect_request(m_config, m_target));
        m_socket.read_some(m_buffer.free_space());
      } else {
        begin_tls();
      }
      return;
    }
    send_request();
  } catch (const std::exception& e) {
    if (request == m_request && !m_ended) fail(404, e.what());
  }
}

void HttpCli::send_request() {
  set_state(HttpState::AwaitingHeader);
  m_socket.send(build_get_request(m_config, m_target));
  m_socket.read_some(m_buffer.free_space());
}

void HttpCli::begin_tls() {
  m_secure_step = SecureStep::Handshake;
  const std::string port = m_target.TargetPort.empty() ? "443" : m_target.TargetPort;
  m_socket.start_tls(m_target.TargetHost, parse_port(port));
}

// The proxy's answer to CONNECT: a 2xx status line, header lines, an empty
// line; then the tunnel is open and the server speaks only after the client.
void HttpCli::tunnel_data(std::string_view bytes) {
  if (m_buffer.append(bytes) < bytes.size()) {
    throw EHttpException("HTTP line too long", EHttpException::kLineTooLong);
  }
  while (const auto line = m_buffer.take_line()) {
    count_header_bytes(*line);
    if (m_header_lines++ == 0) {
      const auto code = is_status_line(*line) ? parse_status_code(*line) : std::nullopt;
      if (!code || *code < 200 || *code > 299) {
        fail_secure("The proxy refused the tunnel: " + *line);
        return;
      }
      continue;
    }
    if (!line->empty()) continue;
    if (!m_buffer.empty()) {
      fail_secure("The proxy sent data before the secure connection was set up");
      return;
    }
    m_header_lines = 0;
    m_header_bytes = 0;
    begin_tls();
    return;
  }
  if (m_buffer.full()) throw EHttpException("HTTP line too long", EHttpException::kLineTooLong);
  m_socket.read_some(m_buffer.free_space());
}

void HttpCli::socket_secured(const std::string& problem) {
  if (m_state != HttpState::Connected || m_secure_step != SecureStep::Handshake) return;
  const unsigned request = m_request;
  try {
    if (!problem.empty()) {
      fail_secure("Secure connection to " + m_target.TargetHost + " failed: " + problem);
      return;
    }
    m_secure_step = SecureStep::None;
    m_buffer.clear();
    send_request();
  } catch (const std::exception& e) {
    if (request == m_request && !m_ended) fail(404, e.what());
  }
}

void HttpCli::socket_data(std::string_view bytes) {
  const unsigned request = m_request;
  if (m_state == HttpState::Connected && m_secure_step == SecureStep::Tunnel) {
    try {
      tunnel_data(bytes);
    } catch (const std::exception& e) {
      if (request == m_request && !m_ended) fail(404, e.what());
    }
    return;
  }
  if (m_state != HttpState::AwaitingHeader && m_state != HttpState::ReceivingBody) return;
  const unsigned connection = m_connection;
  try {
    if (m_buffer.append(bytes) < bytes.size()) {
      throw EHttpException("HTTP line too long", EHttpException::kLineTooLong);
    }
    process_buffer();
    if (request != m_request || m_ended) return;
    if (m_closed_for_error_status) {
      end_request();
      return;
    }
    if (connection_changed(connection)) return;  // relocating
    if (m_state == HttpState::AwaitingHeader && m_buffer.full()) {
      throw EHttpException("HTTP line too long", EHttpException::kLineTooLong);
    }
    m_socket.read_some(m_buffer.free_space());
  } catch (const std::exception& e) {
    if (request == m_request && !m_ended) fail(404, e.what());
  }
}

void HttpCli::process_buffer() {
  const unsigned connection = m_connection;
  while (m_state == HttpState::AwaitingHeader) {
    const auto line = m_buffer.take_line();
    if (!line) return;
    header_line(*line);
    if (connection_changed(connection) && !m_closed_for_error_status) return;
    if (m_ended) return;
  }
  if (m_state == HttpState::ReceivingBody && !m_buffer.empty()) body_chunk(m_buffer.take_all());
}

void HttpCli::count_header_bytes(const std::string& line) {
  m_header_bytes += line.size() + 1;
  if (m_header_bytes > kMaxHeaderBytes) {
    throw EHttpException(
        "Response header longer than " + std::to_string(kMaxHeaderBytes) + " bytes",
        EHttpException::kBadResponse);
  }
}

void HttpCli::header_line(const std::string& line) {
  count_header_bytes(line);
  ++m_header_lines;
  if (line.find('\0') != std::string::npos) {
    throw EHttpException("NUL byte in the response header", EHttpException::kBadResponse);
  }
  if (is_headerless_html(line)) {
    if (m_content_type.empty()) m_content_type = "text/html";
    set_state(HttpState::ReceivingBody);
    body_chunk(line);
    return;
  }
  if (line.empty()) {
    header_end();
    return;
  }
  m_rcvd_header.push_back(line);
  if (is_status_line(line)) {
    const auto code = parse_status_code(line);
    if (!code) throw EHttpException("Bad status code: " + line, EHttpException::kBadResponse);
    m_status_code = *code;
    m_reason_phrase = parse_reason_phrase(line);
  } else if (auto field = split_header_field(line)) {
    if (field->name == "location") {
      m_relocation = true;
      m_location = field->value;
    } else if (field->name == "content-length") {
      const auto length = parse_content_length(field->value);
      if (!length) {
        throw EHttpException("Bad Content-Length: " + field->value, EHttpException::kBadResponse);
      }
      m_content_length = *length;
    } else if (field->name == "content-type") {
      m_content_type = lower_case(field->value);
    }
  }
  if (m_status_code >= 400 && !m_closed_for_error_status) {
    // Nothing more of an error answer is read; what is buffered still counts.
    m_closed_for_error_status = true;
    close_connection();
  }
}

void HttpCli::header_end() {
  if (m_relocation && !m_closed_for_error_status) {
    relocate();
    return;
  }
  set_state(HttpState::ReceivingBody);
  if (!m_buffer.empty()) body_chunk(m_buffer.take_all());
}

void HttpCli::relocate() {
  if (++m_relocations > kMaxRelocations) {
    throw EHttpException("Too many relocations", EHttpException::kBadResponse);
  }
  if (is_tls_downgrade(m_target, m_location)) {
    fail_secure("Refused to follow a relocation from https:// to " + m_location);
    return;
  }
  apply_relocation(m_target, m_location);
  m_relocation = false;
  m_header_lines = 0;
  m_header_bytes = 0;
  m_body_chunks = 0;
  m_buffer.clear();
  close_connection();
  if (m_events.OnLocationChange) m_events.OnLocationChange(*this);
  std::weak_ptr<HttpCli*> self = m_self;
  const unsigned request = m_request;
  const unsigned connection = m_connection;
  m_poster.post([self, request, connection] {
    const auto alive = self.lock();
    if (!alive) return;
    HttpCli& cli = **alive;
    if (cli.m_request != request || cli.m_connection != connection || cli.m_ended) return;
    cli.restart();
  });
}

void HttpCli::restart() {
  m_rcvd_header.clear();
  m_status_code = 0;
  m_content_length = -1;
  m_content_type.clear();
  set_state(HttpState::LookingUpHost);
  start_lookup();
}

void HttpCli::body_chunk(std::string_view chunk) {
  const unsigned request = m_request;
  if (m_body_chunks == 0 && m_events.OnDocBegin) {
    m_events.OnDocBegin(*this);
    if (request != m_request || m_ended) return;
  }
  ++m_body_chunks;
  if (m_events.OnDocData) m_events.OnDocData(*this, chunk.data(), chunk.size());
}

void HttpCli::socket_closed(int error) {
  if (m_state == HttpState::Connected && m_secure_step != SecureStep::None) {
    fail(404, error != 0 ? describe_socket_error(error)
                         : "Connection closed before the secure connection was set up");
    return;
  }
  if (m_state != HttpState::AwaitingHeader && m_state != HttpState::ReceivingBody) return;
  try {
    if (error != 0) {
      fail(404, describe_socket_error(error));
    } else if (m_state == HttpState::AwaitingHeader && m_header_lines > 0) {
      // A header cut short is no answer, whatever its status line said.
      fail(404, "Connection closed before the end of the header");
    } else {
      end_request();
    }
  } catch (const std::exception&) {
    if (!m_ended) end_request();
  }
}

void HttpCli::close_connection() {
  ++m_connection;
  m_socket.close();
}

void HttpCli::fail_secure(const std::string& reason) {
  m_security_failure = true;
  fail(404, reason);
}

void HttpCli::fail(int status_code, const std::string& reason) {
  m_status_code = status_code;
  m_reason_phrase = reason;
  m_closed_for_error_status = false;
  end_request();
}

void HttpCli::end_request() {
  if (m_ended) return;
  m_ended = true;
  m_secure_step = SecureStep::None;
  close_connection();
  if (m_body_chunks > 0 && !m_closed_for_error_status && m_events.OnDocEnd) {
    m_events.OnDocEnd(*this);
  }
  std::weak_ptr<HttpCli*> self = m_self;
  const unsigned request = m_request;
  m_poster.post([self, request] {
    if (const auto alive = self.lock()) (*alive)->ready_notice(request);
  });
}

void HttpCli::ready_notice(unsigned request) {
  if (request != m_request) return;
  if (m_state != HttpState::Ready) set_state(HttpState::Ready);
  std::weak_ptr<HttpCli*> self = m_self;
  m_poster.post([self, request] {
    const auto alive = self.lock();
    if (!alive) return;
    HttpCli& cli = **alive;
    if (cli.m_request == request && cli.m_events.OnRequestDone) {
      cli.m_events.OnRequestDone(cli, cli.m_request_type, cli.m_request_done_error);
    }
  });
}

void HttpCli::Abort() {
  if (m_state == HttpState::Ready) {
    close_connection();
    return;
  }
  const bool lookup_running = m_state == HttpState::LookingUpHost;
  set_state(HttpState::Aborting);
  if (lookup_running) {
    try {
      m_socket.cancel_lookup();
    } catch (const std::exception&) {
    }
  }
  m_status_code = 404;
  m_reason_phrase = "Connection aborted on request";
  m_request_done_error = 3;
  m_closed_for_error_status = false;
  end_request();
  set_state(HttpState::Ready);
}

}  // namespace tovali
