#include "tools/devserver/WebApp.h"

#include "tools/embed/EmbeddedFile.h"

#include <httplib.h>

#include <string>
#include <string_view>

namespace OrvelDev {

namespace {

std::string_view contentType(std::string_view name) {
    if (name.ends_with(".js")) {
        return "text/javascript; charset=utf-8";
    }
    if (name.ends_with(".css")) {
        return "text/css; charset=utf-8";
    }
    return "text/html; charset=utf-8";
}

void send(httplib::Response& res, const OrvelEmbedded::File& file) {
    res.set_header("Content-Security-Policy", webAppPolicy);
    res.set_header("Referrer-Policy", "no-referrer");
    res.set_header("X-Content-Type-Options", "nosniff");
    res.set_header("Cross-Origin-Opener-Policy", "same-origin");
    // The pages change with the service; revalidating costs one small request.
    res.set_header("Cache-Control", "no-cache");
    res.set_content(std::string(file.contents), std::string(contentType(file.name)));
}

} // namespace

void serveWebApp(httplib::Server& server) {
    const auto files = OrvelEmbedded::webAppFiles();
    const auto* index = OrvelEmbedded::find(files, "index.html");
    const auto page = [index](const httplib::Request&, httplib::Response& res) {
        send(res, *index);
    };
    server.Get("/app", page);
    server.Get("/app/", page);
    server.Get("/app/([A-Za-z0-9_-]+\\.(?:js|css))",
               [files](const httplib::Request& req, httplib::Response& res) {
                   const auto* file = OrvelEmbedded::find(files, req.matches[1].str());
                   if (file == nullptr) {
                       res.status = 404;
                       res.set_content("{\"error\":\"no such file\"}", "application/json");
                       return;
                   }
                   send(res, *file);
               });
}

} // namespace OrvelDev
