#pragma once

#include <memory>

#include "net/Socket.h"

namespace tovali {

// The client socket over GIO: Gio::Resolver for lookups, Gio::SocketClient
// (its own proxying off) for connections, async reads and writes, one
// Gio::Cancellable per lookup and per connection. Every notification is
// delivered from the default main context; none escapes as an exception.
// TLS goes through Gio::TlsClientConnection (glib-networking): the server's
// certificate must be valid for its host name and issued by an authority of
// the system's trust store or of the file given to trust_certificates_in.
class GioSocket : public Socket {
 public:
  GioSocket();
  ~GioSocket() override;

  void set_listener(SocketListener* listener) override;
  bool start_lookup(const std::string& host, int& error) override;
  void cancel_lookup() override;
  bool start_connect(const std::string& address, int port, int& error) override;
  void start_tls(const std::string& host, int port) override;
  void send(std::string bytes) override;
  void read_some(std::size_t max_bytes) override;
  void close() override;

  // Trusts, beyond the system's trust store, the authorities whose
  // certificates the PEM file holds. Returns false, with `problem` set, when
  // the file cannot be read as certificates.
  bool trust_certificates_in(const std::string& pem_path, std::string& problem);

  struct Impl;

 private:
  std::shared_ptr<Impl> m_impl;
};

}  // namespace tovali
