#pragma once
// The maker's web server: where the version check asks, and the pages the links open.

#include <QString>
#include <QUrl>

namespace zfw {

struct MakerWebServer {
    QString host;  // empty: no request is ever sent and the links stay inert
    quint16 port = 80;
    int timeoutMs = 15000;  // limit of one version request, connection included

    bool isSet() const { return !host.isEmpty(); }
};

// The server this program was built for (the build setting ZFW_MAKER_WEB_HOST, port 80).
MakerWebServer defaultMakerWebServer();

// The pages of the server; an invalid QUrl when the server is not set.
QUrl versionPageUrl(const MakerWebServer& server);
QUrl downloadPageUrl(const MakerWebServer& server);
QUrl homePageUrl(const MakerWebServer& server);

// Rich text of the update link: an anchor to the download page with caption as its text
// (shown as plain text, markup in a translated caption included).
QString updateLinkHtml(const MakerWebServer& server, const QString& caption);

// The address shown to the user ("www.example.com"; with the port when it is not 80).
QString makerWebAddress(const MakerWebServer& server);

}  // namespace zfw
