#include "shell/MakerWeb.h"

#include "common/UComon.h"
#include "platform/Services.h"
#include "shell/ShellServices.h"

namespace zfw {

namespace {

QUrl pageUrl(const MakerWebServer& server, const char* path, const QString& query = QString(),
             const QString& fragment = QString())
{
    if (!server.isSet())
        return QUrl();
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(server.host);
    if (server.port != 80)
        url.setPort(server.port);
    url.setPath(QLatin1String(path));
    if (!query.isEmpty())
        url.setQuery(query);
    if (!fragment.isEmpty())
        url.setFragment(fragment);
    return url;
}

}  // namespace

MakerWebServer defaultMakerWebServer()
{
    MakerWebServer s;
    s.host = QString::fromLatin1(ZFW_MAKER_WEB_HOST).trimmed();
    return s;
}

QUrl versionPageUrl(const MakerWebServer& server)
{
    return pageUrl(server, "/home/download/GetversionSW.asp",
                   QStringLiteral("nomesw=") + QLatin1String(Build_SW_Code_Update));
}

QUrl downloadPageUrl(const MakerWebServer& server)
{
    return pageUrl(server, "/Home/download/download.asp", QString(),
                   QLatin1String(Build_Hardware_Code));
}

QUrl homePageUrl(const MakerWebServer& server)
{
    return pageUrl(server, "/HOME/default.asp",
                   QStringLiteral("frompg=") + QLatin1String(Build_SW_Code));
}

QString updateLinkHtml(const MakerWebServer& server, const QString& caption)
{
    return QStringLiteral("<a href=\"%1\">%2</a>")
        .arg(downloadPageUrl(server).toString(QUrl::FullyEncoded).toHtmlEscaped(),
             caption.toHtmlEscaped());
}

IUrlOpener& urlOpenerOf(const ShellServices& shell)
{
    return shell.urlOpener ? *shell.urlOpener : *services().urlOpener;
}

QString makerWebAddress(const MakerWebServer& server)
{
    if (!server.isSet())
        return QString();
    if (server.port != 80)
        return QStringLiteral("%1:%2").arg(server.host).arg(server.port);
    return server.host;
}

}  // namespace zfw
