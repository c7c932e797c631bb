#include "gio/GioSocket.h"

#include <cerrno>
#include <vector>

#include <giomm.h>

#include "gio/GioErrors.h"

namespace tovali {

// Shared with every pending callback, so that a callback that completes
// after the socket went away finds its buffers and sees that it is stale.
struct GioSocket::Impl {
  SocketListener* listener = nullptr;
  Glib::RefPtr<Gio::SocketClient> client;
  Glib::RefPtr<Gio::Cancellable> lookup_cancellable;
  Glib::RefPtr<Gio::Cancellable> connection_cancellable;
  Glib::RefPtr<Gio::SocketConnection> connection;
  // What reads and sends go through: the connection, or TLS over it.
  Glib::RefPtr<Gio::IOStream> stream;
  GTlsDatabase* extra_authorities = nullptr;
  unsigned lookup_generation = 0;
  unsigned connection_generation = 0;

  ~Impl() {
    if (extra_authorities) g_object_unref(extra_authorities);
  }
};

namespace {

using Impl = GioSocket::Impl;

// Runs one notification; nothing thrown by the listener leaves the GLib callback.
template <typename Notify>
void notify(const std::shared_ptr<Impl>& impl, Notify&& call) {
  if (!impl->listener) return;
  try {
    call(*impl->listener);
  } catch (...) {
  }
}

std::string pick_address(const std::vector<Glib::RefPtr<Gio::InetAddress>>& addresses) {
  for (const auto& address : addresses) {
    if (address && address->get_family() == Gio::SOCKET_FAMILY_IPV4) return address->to_string();
  }
  for (const auto& address : addresses) {
    if (address) return address->to_string();
  }
  return "";
}

// A read or write that cannot even start ends the connection, reported from
// the main loop like every other notification.
void report_failure_later(const std::shared_ptr<Impl>& impl, unsigned generation) {
  Glib::signal_idle().connect_once([impl, generation] {
    if (generation != impl->connection_generation) return;
    notify(impl, [](SocketListener& l) { l.socket_closed(EIO); });
  });
}

// The certificate's faults in plain words, most telling first.
std::string describe_certificate_faults(unsigned flags) {
  struct Fault {
    unsigned flag;
    const char* text;
  };
  static constexpr Fault kFaults[] = {
      {G_TLS_CERTIFICATE_UNKNOWN_CA, "the certificate's issuer is not trusted"},
      {G_TLS_CERTIFICATE_BAD_IDENTITY, "the certificate is for another host name"},
      {G_TLS_CERTIFICATE_EXPIRED, "the certificate has expired"},
      {G_TLS_CERTIFICATE_NOT_ACTIVATED, "the certificate is not valid yet"},
      {G_TLS_CERTIFICATE_REVOKED, "the certificate has been revoked"},
      {G_TLS_CERTIFICATE_INSECURE, "the certificate uses an insecure algorithm"},
      {G_TLS_CERTIFICATE_GENERIC_ERROR, "the certificate is not valid"},
  };
  std::string text;
  for (const Fault& fault : kFaults) {
    if ((flags & fault.flag) == 0) continue;
    if (!text.empty()) text += "; ";
    text += fault.text;
  }
  return text.empty() ? "the certificate was refused" : text;
}

// Decides on a certificate that the system's trust store refused: it is
// accepted only when the extra authorities vouch for it, for this host name.
// `faults` receives the faults to report when it is refused.
bool accept_with_extra_authorities(GTlsDatabase* authorities, GTlsCertificate* certificate,
                                   GSocketConnectable* identity, unsigned system_faults,
                                   unsigned& faults) {
  faults = system_faults;
  if (!authorities || !certificate) return false;
  GError* error = nullptr;
  const GTlsCertificateFlags own = g_tls_database_verify_chain(
      authorities, certificate, G_TLS_DATABASE_PURPOSE_AUTHENTICATE_SERVER, identity, nullptr,
      G_TLS_DATABASE_VERIFY_NONE, nullptr, &error);
  if (error) {
    g_error_free(error);
    return false;
  }
  if (own == 0) return true;
  // An issuer unknown to the system is the extra authorities' to judge: say
  // what they found wrong.
  if (system_faults & G_TLS_CERTIFICATE_UNKNOWN_CA) faults = own;
  return false;
}

}  // namespace

GioSocket::GioSocket() : m_impl(std::make_shared<Impl>()) {}

GioSocket::~GioSocket() {
  m_impl->listener = nullptr;
  close();
  cancel_lookup();
}

void GioSocket::set_listener(SocketListener* listener) {
  m_impl->listener = listener;
}

bool GioSocket::start_lookup(const std::string& host, int& error) {
  try {
    cancel_lookup();
    auto impl = m_impl;
    impl->lookup_cancellable = Gio::Cancellable::create();
    const unsigned generation = impl->lookup_generation;
    auto resolver = Gio::Resolver::get_default();
    resolver->lookup_by_name_async(
        host,
        [impl, resolver, generation](Glib::RefPtr<Gio::AsyncResult>& result) {
          std::string address;
          int failure = 0;
          try {
            std::vector<Glib::RefPtr<Gio::InetAddress>> found =
                resolver->lookup_by_name_finish(result);
            address = pick_address(found);
            if (address.empty()) failure = EINVAL;
          } catch (...) {
            failure = errno_from_current_exception();
          }
          if (generation != impl->lookup_generation) return;
          impl->lookup_cancellable.reset();
          notify(impl, [&](SocketListener& l) { l.socket_lookup_done(failure, address); });
        },
        impl->lookup_cancellable);
    return true;
  } catch (...) {
    error = errno_from_current_exception();
  }
  return false;
}

void GioSocket::cancel_lookup() {
  ++m_impl->lookup_generation;
  if (m_impl->lookup_cancellable) {
    m_impl->lookup_cancellable->cancel();
    m_impl->lookup_cancellable.reset();
  }
}

bool GioSocket::start_connect(const std::string& address, int port, int& error) {
  try {
    close();
    auto impl = m_impl;
    auto inet_address = Gio::InetAddress::create(address);
    if (!inet_address || port <= 0 || port > 65535) {
      error = EINVAL;
      return false;
    }
    auto socket_address = Gio::InetSocketAddress::create(inet_address, static_cast<guint16>(port));
    if (!impl->client) {
      impl->client = Gio::SocketClient::create();
      impl->client->set_enable_proxy(false);
    }
    impl->connection_cancellable = Gio::Cancellable::create();
    const unsigned generation = impl->connection_generation;
    auto client = impl->client;
    client->connect_async(socket_address, impl->connection_cancellable,
                          [impl, client, generation](Glib::RefPtr<Gio::AsyncResult>& result) {
                            Glib::RefPtr<Gio::SocketConnection> connection;
                            int failure = 0;
                            try {
                              connection = client->connect_finish(result);
                              if (!connection) failure = EIO;
                            } catch (...) {
                              failure = errno_from_current_exception();
                            }
                            if (generation != impl->connection_generation) {
                              if (connection) {
                                try {
                                  connection->get_socket()->close();
                                } catch (...) {
                                }
                              }
                              return;
                            }
                            impl->connection = connection;
                            impl->stream = connection;
                            notify(impl, [&](SocketListener& l) { l.socket_connected(failure); });
                          });
    return true;
  } catch (...) {
    error = errno_from_current_exception();
  }
  return false;
}

void GioSocket::send(std::string bytes) {
  auto impl = m_impl;
  if (!impl->stream) return;
  auto data = std::make_shared<std::string>(std::move(bytes));
  const unsigned generation = impl->connection_generation;
  auto stream = impl->stream->get_output_stream();
  try {
    stream->write_all_async(
        data->data(), data->size(),
        [impl, stream, data, generation](Glib::RefPtr<Gio::AsyncResult>& result) {
          int failure = 0;
          try {
            gsize written = 0;
            stream->write_all_finish(result, written);
          } catch (...) {
            failure = errno_from_current_exception();
          }
          if (generation != impl->connection_generation || failure == 0) return;
          notify(impl, [&](SocketListener& l) { l.socket_closed(failure); });
        },
        impl->connection_cancellable);
  } catch (...) {
    report_failure_later(impl, generation);
  }
}

void GioSocket::read_some(std::size_t max_bytes) {
  auto impl = m_impl;
  if (!impl->stream || max_bytes == 0) return;
  auto buffer = std::make_shared<std::vector<char>>(max_bytes);
  const unsigned generation = impl->connection_generation;
  auto stream = impl->stream->get_input_stream();
  try {
    stream->read_async(
        buffer->data(), buffer->size(),
        [impl, stream, buffer, generation](Glib::RefPtr<Gio::AsyncResult>& result) {
          gssize count = -1;
          int failure = 0;
          try {
            count = stream->read_finish(result);
          } catch (...) {
            failure = errno_from_current_exception();
          }
          if (generation != impl->connection_generation) return;
          if (failure != 0 || count <= 0) {
            notify(impl, [&](SocketListener& l) { l.socket_closed(failure); });
          } else {
            const std::string_view bytes(buffer->data(), static_cast<std::size_t>(count));
            notify(impl, [&](SocketListener& l) { l.socket_data(bytes); });
          }
        },
        impl->connection_cancellable);
  } catch (...) {
    report_failure_later(impl, generation);
  }
}

void GioSocket::close() {
  ++m_impl->connection_generation;
  if (m_impl->connection_cancellable) {
    m_impl->connection_cancellable->cancel();
    m_impl->connection_cancellable.reset();
  }
  if (m_impl->connection) {
    try {
      m_impl->connection->get_socket()->close();
    } catch (...) {
    }
    m_impl->connection.reset();
  }
  m_impl->stream.reset();
}

void GioSocket::start_tls(const std::string& host, int port) {
  auto impl = m_impl;
  const unsigned generation = impl->connection_generation;
  const auto report_later = [impl, generation](std::string problem) {
    Glib::signal_idle().connect_once([impl, generation, problem] {
      if (generation != impl->connection_generation) return;
      notify(impl, [&](SocketListener& l) { l.socket_secured(problem); });
    });
  };
  if (!impl->connection) {
    report_later("the connection is closed");
    return;
  }
  try {
    auto identity = Gio::NetworkAddress::create(host, static_cast<guint16>(port));
    auto tls = Gio::TlsClientConnection::create(impl->connection, identity);
    auto faults = std::make_shared<unsigned>(0);
    GSocketConnectable* identity_c = G_SOCKET_CONNECTABLE(identity->gobj());
    tls->signal_accept_certificate().connect(
        [impl, identity, identity_c, faults](const Glib::RefPtr<const Gio::TlsCertificate>& peer,
                                             Gio::TlsCertificateFlags errors) -> bool {
          try {
            return accept_with_extra_authorities(
                impl->extra_authorities,
                peer ? const_cast<GTlsCertificate*>(peer->gobj()) : nullptr, identity_c,
                static_cast<unsigned>(errors), *faults);
          } catch (...) {
            return false;
          }
        });
    tls->handshake_async(
        [impl, tls, faults, generation](Glib::RefPtr<Gio::AsyncResult>& result) {
          std::string problem;
          try {
            tls->handshake_finish(result);
          } catch (const Glib::Error& e) {
            const bool refused =
                e.domain() == G_TLS_ERROR && e.code() == G_TLS_ERROR_BAD_CERTIFICATE;
            problem =
                refused && *faults != 0 ? describe_certificate_faults(*faults) : e.what().raw();
            if (problem.empty()) problem = "the TLS handshake failed";
          } catch (...) {
            problem = "the TLS handshake failed";
          }
          if (generation != impl->connection_generation) return;
          if (problem.empty()) impl->stream = tls;
          notify(impl, [&](SocketListener& l) { l.socket_secured(problem); });
        },
        impl->connection_cancellable);
  } catch (const Glib::Error& e) {
    report_later(e.what().raw());
  } catch (...) {
    report_later("TLS is not available");
  }
}

bool GioSocket::trust_certificates_in(const std::string& pem_path, std::string& problem) {
  GError* error = nullptr;
  GTlsDatabase* authorities = g_tls_file_database_new(pem_path.c_str(), &error);
  if (!authorities) {
    problem = error && error->message ? error->message : "cannot read " + pem_path;
    if (error) g_error_free(error);
    return false;
  }
  if (m_impl->extra_authorities) g_object_unref(m_impl->extra_authorities);
  m_impl->extra_authorities = authorities;
  return true;
}

}  // namespace tovali
