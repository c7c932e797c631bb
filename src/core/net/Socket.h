#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tovali {

// Receives a socket's notifications. They arrive on the main loop's thread,
// one at a time, never from inside a call into the socket. Error numbers are
// the platform's (errno values); 0 means success.
class SocketListener {
 public:
  // The lookup started by start_lookup finished: `address` is a numeric
  // address to connect to, or `error` is not 0.
  virtual void socket_lookup_done(int error, const std::string& address) = 0;
  // The connection started by start_connect is established (error 0) or failed.
  virtual void socket_connected(int error) = 0;
  // One read started by read_some delivered these bytes (never empty).
  virtual void socket_data(std::string_view bytes) = 0;
  // The peer closed the connection (error 0), or it failed (reset, a failed send).
  virtual void socket_closed(int error) = 0;
  // The TLS handshake started by start_tls finished: `problem` is empty when
  // the connection is secure, else it says in plain words what failed.
  virtual void socket_secured(const std::string& problem) = 0;

 protected:
  ~SocketListener() = default;
};

// An asynchronous TCP client socket. One lookup or connection at a time.
class Socket {
 public:
  virtual ~Socket() = default;

  // Where notifications go; nullptr stops them.
  virtual void set_listener(SocketListener* listener) = 0;

  // Starts resolving a host name. Returns false, with `error` set, when the
  // lookup cannot be started; no notification follows then.
  virtual bool start_lookup(const std::string& host, int& error) = 0;

  // Cancels a running lookup; no notification follows for it.
  virtual void cancel_lookup() = 0;

  // Starts connecting to a numeric address and port. Returns false, with
  // `error` set, when the attempt fails at once.
  virtual bool start_connect(const std::string& address, int port, int& error) = 0;

  // Sends the bytes in one piece on the open connection. A failure is
  // reported through socket_closed.
  virtual void send(std::string bytes) = 0;

  // Starts TLS on the open connection, nothing else pending on it. The
  // server must prove to be `host` (sent as the server name) with a
  // certificate the socket trusts. Reported through socket_secured; sends and
  // reads then go through TLS.
  virtual void start_tls(const std::string& host, int port) = 0;

  // Starts one read of at most `max_bytes` (> 0) bytes; reported through
  // socket_data, or socket_closed at the end of the stream or on error.
  virtual void read_some(std::size_t max_bytes) = 0;

  // Closes the connection and cancels everything pending. Nothing more is
  // reported for it. Harmless when nothing is open.
  virtual void close() = 0;
};

}  // namespace tovali
