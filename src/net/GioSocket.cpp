#include "net/GioSocket.h"

#include <cerrno>
#include <vector>

#include <giomm.h>

#include "net/GioErrors.h"

namespace tovali {

// Shared with every pending callback, so that a callback that completes
// after the socket went away finds its buffers and sees that it is stale.
struct GioSocket::Impl {
  SocketListener* listener = nullptr;
  Glib::RefPtr<Gio::SocketClient> client;
  Glib::RefPtr<Gio::Cancellable> lookup_cancellable;
  Glib::RefPtr<Gio::Cancellable> connection_cancellable;
  Glib::RefPtr<Gio::SocketConnection> connection;
  unsigned lookup_generation = 0;
  unsigned connection_generation = 0;
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
          } catch (const Glib::Error& e) {
            failure = errno_from_gio_error(e);
            if (failure == 0) failure = EIO;
          } catch (...) {
            failure = EIO;
          }
          if (generation != impl->lookup_generation) return;
          impl->lookup_cancellable.reset();
          notify(impl, [&](SocketListener& l) { l.socket_lookup_done(failure, address); });
        },
        impl->lookup_cancellable);
    return true;
  } catch (const Glib::Error& e) {
    error = errno_from_gio_error(e);
  } catch (...) {
    error = EIO;
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
                            } catch (const Glib::Error& e) {
                              failure = errno_from_gio_error(e);
                            } catch (...) {
                              failure = EIO;
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
                            notify(impl, [&](SocketListener& l) { l.socket_connected(failure); });
                          });
    return true;
  } catch (const Glib::Error& e) {
    error = errno_from_gio_error(e);
  } catch (...) {
    error = EIO;
  }
  return false;
}

void GioSocket::send(std::string bytes) {
  auto impl = m_impl;
  if (!impl->connection) return;
  auto data = std::make_shared<std::string>(std::move(bytes));
  const unsigned generation = impl->connection_generation;
  auto stream = impl->connection->get_output_stream();
  try {
    stream->write_all_async(
        data->data(), data->size(),
        [impl, stream, data, generation](Glib::RefPtr<Gio::AsyncResult>& result) {
          int failure = 0;
          try {
            gsize written = 0;
            stream->write_all_finish(result, written);
          } catch (const Glib::Error& e) {
            failure = errno_from_gio_error(e);
          } catch (...) {
            failure = EIO;
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
  if (!impl->connection || max_bytes == 0) return;
  auto buffer = std::make_shared<std::vector<char>>(max_bytes);
  const unsigned generation = impl->connection_generation;
  auto stream = impl->connection->get_input_stream();
  try {
    stream->read_async(
        buffer->data(), buffer->size(),
        [impl, stream, buffer, generation](Glib::RefPtr<Gio::AsyncResult>& result) {
          gssize count = -1;
          int failure = 0;
          try {
            count = stream->read_finish(result);
          } catch (const Glib::Error& e) {
            failure = errno_from_gio_error(e);
          } catch (...) {
            failure = EIO;
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
}

}  // namespace tovali
