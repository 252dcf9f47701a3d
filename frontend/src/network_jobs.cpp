#include "frontend/network_jobs.h"

#include "framework/job_list.h"
#include "framework/vkey.h"
#include "frontend/application_config.h"
#include "frontend/service_jobs.h"
#include "net/net_globals.h"
#include "net/net_input.h"
#include "net/net_message.h"

namespace brumil::frontend {

namespace {

constexpr Long kKindService = 2;

bool SameLinkValues(const net::NetPlayerRecord& a, const net::NetPlayerRecord& b) {
    return a.X == b.X && a.Y == b.Y && a.Extra == b.Extra;
}

void SetupStep(ApplicationConfig& app, ServiceJobHost& host) {
    ScreenState& st = app.State;
    st.NetStep += 1;
    if (st.NetStep == 1) {
        NetworkDialog* dialog = host.NetworkSetup(true);
        if (dialog == nullptr) {
            app.Job().Remove(ApplicationConfig::Key(kNetworkSetupJob));
            return;
        }
        Long x = 0, y = 0;
        host.PictureOrigin(x, y);
        dialog->Place(x, y);
        dialog->StartConnectWizard();
        dialog->Show();
        return;
    }
    NetworkDialog* dialog = host.NetworkSetup(false);
    if (dialog != nullptr && dialog->Active()) return;
    if (st.NetLeftFullScreen) {
        host.SetFullScreenMode(true);
    } else {
        host.ShowMainWindow();
    }
    const Long link = ApplicationConfig::Key(kNetworkLinkJob);
    // A new session restarts the link job, so its fields begin afresh.
    app.Job().Remove(link);
    if (dialog != nullptr && !dialog->ConnectedName().empty()) app.Job().Add(link, kKindService);
    app.Job().Remove(ApplicationConfig::Key(kNetworkSetupJob));
}

void ShowLog(ServiceJobHost& host, ScreenState& st) {
    host.ShowLogPanel(true);
    st.LogHidden = false;
}

void LinkStep(ApplicationConfig& app, ServiceJobHost& host) {
    ScreenState& st = app.State;
    if (host.NetworkSetup(false) == nullptr) {
        app.Job().Remove(ApplicationConfig::Key(kNetworkLinkJob));
        return;
    }
    net::NetLog& log = net::gNetLog();
    bool fresh = false;
    if (log.Timer > 0) {
        log.Timer -= 1;
        fresh = true;
    }
    const bool battle = app.Job().Test(ApplicationConfig::Key(kBattleStartJob));
    if (!battle || fresh) {
        if (st.LogHidden) ShowLog(host, st);
    } else if (host.LogPanelShown()) {
        host.ShowLogPanel(false);
        st.LogHidden = true;
    }
    net::NetPlayerRecord& own = net::gNetOwn();
    own.Frame += 1;
    if (host.PaintDisable()) return;
    const Long bits = net::NetKeyBitsFromVKey(framework::VKey()[0], own.Flag);
    if (bits == own.KeyBits && SameLinkValues(own, st.LastSent)) return;
    own.KeyBits = bits;
    const Long values[] = {own.Frame, bits, own.X, own.Y, own.Extra};
    net::SendGameMessage(net::kInputMessage, values);
    st.LastSent = own;
}

}  // namespace

void AppJob3_NetworkSetup(ApplicationConfig& app, Long, Long message, Long) {
    ServiceJobHost* host = app.ServiceHost;
    if (host == nullptr) return;
    ScreenState& st = app.State;
    switch (message) {
        case framework::kJobMessageBegin:
            st.NetStep = 0;
            st.NetLeftFullScreen = host->IsFullScreenMode();
            if (st.NetLeftFullScreen) host->SetFullScreenMode(false);
            host->EnableScreenAndSystemMenus(false);
            break;
        case framework::kJobMessageStep:
            SetupStep(app, *host);
            break;
        case framework::kJobMessageEnd:
            host->EnableScreenAndSystemMenus(true);
            break;
        default:
            break;
    }
}

void AppJob4_NetworkLink(ApplicationConfig& app, Long, Long message, Long) {
    ServiceJobHost* host = app.ServiceHost;
    if (host == nullptr) return;
    ScreenState& st = app.State;
    switch (message) {
        case framework::kJobMessageBegin:
            st.LogHidden = app.Job().Test(ApplicationConfig::Key(kBattleStartJob));
            if (!st.LogHidden) host->ShowLogPanel(true);
            net::ClearLinkFields(net::gNetOwn());
            net::ClearLinkFields(net::gNetPeer());
            st.LastSent = net::gNetOwn();
            break;
        case framework::kJobMessageStep:
            LinkStep(app, *host);
            break;
        case framework::kJobMessageEnd:
            host->ShowLogPanel(false);
            break;
        default:
            break;
    }
}

}  // namespace brumil::frontend
