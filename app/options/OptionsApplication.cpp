#include "OptionsApplication.h"

#include <algorithm>

#include "EngineLibrary.h"
#include "KestProject.h"
#include "ProgramOptions.h"

namespace {

uint16_t field(int value) { return static_cast<uint16_t>(std::clamp(value, 0, 0xFFFF)); }

}  // namespace

bool applyOptionsToProject(const ProgramOptions &options, KestProject &project) {
    if (!project.active()) return false;
    eng::client::ProjectProps properties = project.properties();
    properties.maxConnections = field(options.maxConnections);
    properties.maxPerServer = field(options.maxConnPerServ);
    properties.pause = field(options.pauseBetwConn);
    properties.retries = field(options.retries);
    properties.timeout = field(options.timeOut);
    properties.proxyAccess = static_cast<uint32_t>(options.accessType);
    properties.httpProxy = options.httpProxy.toStdString();
    properties.ftpProxy = options.ftpProxy.toStdString();
    if (options.retrieveFromIECache)
        properties.optionFlags |= ENG_OPTION_BROWSER_CACHE;
    else
        properties.optionFlags &= ~ENG_OPTION_BROWSER_CACHE;
    project.setProperties(properties);
    project.setPingHosts(options.enablePing ? options.pingHosts : QString());
    return project.writeProperties();
}
