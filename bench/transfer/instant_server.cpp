// The floor of the sales benchmark: an HTTP server of its own process that answers every request
// at once with a reply Tally gives for one created voucher, and does nothing else.
//
//   instant_server     prints "listening on 127.0.0.1:PORT" and serves until terminated

#include <httplib.h>

#include <cstdio>

int main() {
    httplib::Server server;
    server.set_tcp_nodelay(true);
    server.Post(".*", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("<RESPONSE><CREATED>1</CREATED><ERRORS>0</ERRORS></RESPONSE>", "text/xml");
    });
    const int port = server.bind_to_any_port("127.0.0.1");
    if (port <= 0) {
        std::fprintf(stderr, "instant_server: cannot listen\n");
        return 1;
    }
    std::printf("listening on 127.0.0.1:%d\n", port);
    std::fflush(stdout);
    return server.listen_after_bind() ? 0 : 1;
}
