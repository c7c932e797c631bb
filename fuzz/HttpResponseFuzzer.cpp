// The HTTP client fed arbitrary server bytes over a scripted socket: the
// answer arrives in pieces of the sizes the first input byte chooses, through
// any relocations it asks for, and the request always ends with the client
// ready again. The response-line parsers see every line too.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzInput.h"
#include "ScriptedSocket.h"
#include "net/HttpCli.h"
#include "net/HttpException.h"
#include "net/HttpResponse.h"

using namespace tovali;

namespace {

void parse_lines(std::string_view bytes) {
  fuzz::FuzzInput input(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  while (!input.rest().empty()) {
    const std::string_view line = input.next_line();
    if (is_status_line(line)) {
      const auto code = parse_status_code(line);
      fuzz::require(!code || (*code >= 0 && *code <= 999), "a status code has three digits");
      (void)parse_reason_phrase(line);
    }
    (void)is_headerless_html(line);
    if (const auto field = split_header_field(line)) {
      const auto length = parse_content_length(field->value);
      fuzz::require(!length || *length >= 0, "a content length is not negative");
    }
    fuzz::require(lower_case(line).size() == line.size(), "lower-casing keeps the length");
  }
}

void fetch(std::string_view answer, std::size_t piece) {
  ScriptedSocket socket;
  QueuePoster poster;
  HttpCli cli(socket, poster);
  int done = 0;
  std::size_t body_bytes = 0;
  cli.events().OnDocData = [&](HttpCli&, const char*, std::size_t len) { body_bytes += len; };
  cli.events().OnRequestDone = [&](HttpCli&, HttpRequestType, int) { ++done; };
  cli.config().URL = "http://10.1.2.3/teconfig.dat";
  cli.StartGet();

  // What the socket has answered so far; a close drops the reads pending on
  // the connection it ends.
  std::size_t lookups = 0, connects = 0, tls = 0, reads = 0;
  int closes = 0;
  std::size_t at = 0;
  for (int step = 0; step < 100000; ++step) {
    if (socket.closes != closes) {
      closes = socket.closes;
      reads = socket.reads.size();
    }
    if (socket.lookups.size() > lookups) {
      ++lookups;
      socket.listener->socket_lookup_done(0, "10.0.0.9");
    } else if (socket.connects.size() > connects) {
      ++connects;
      socket.listener->socket_connected(0);
    } else if (socket.tls_starts.size() > tls) {
      ++tls;
      socket.listener->socket_secured("");
    } else if (socket.reads.size() > reads) {
      const std::size_t max_bytes = socket.reads[reads++];
      fuzz::require(max_bytes > 0, "a read asks for at least one byte");
      if (at == answer.size()) {
        socket.listener->socket_closed(0);
      } else {
        const std::size_t n = std::min({piece, max_bytes, answer.size() - at});
        socket.listener->socket_data(answer.substr(at, n));
        at += n;
      }
    } else if (!poster.tasks.empty()) {
      poster.run_all();
    } else {
      break;
    }
  }
  fuzz::require(cli.State() == HttpState::Ready, "the request ends with the client ready");
  fuzz::require(done == 1, "the request ends once");
  fuzz::require(body_bytes <= answer.size(), "the body comes from the answer");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view answer(reinterpret_cast<const char*>(data) + 1, size - 1);
  parse_lines(answer);
  fetch(answer, 1 + data[0] % 64);
  fetch(answer, answer.size() + 1);
  return 0;
}
