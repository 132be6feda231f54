// TPowersock over the backend's sockets and message loop: notifications, the time limit and
// name lookups are messages handled while the application processes them.
#include "platform/Psock.h"

#include "platform/Forms.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <system_error>
#include <thread>

namespace tk {

// Name lookups run on worker threads; their answers come back as posted work. The component
// shares this record with those answers and forgets it when destroyed, so a lookup that outlives
// its component finds no owner. Only the GUI thread touches it.
struct TPowersock::LookupState {
    TPowersock* owner = nullptr;
    unsigned generation = 0; // answers of earlier, abandoned lookups are ignored
};

namespace {

constexpr std::uint16_t AddressFamilyInet = 2;
constexpr int ReceiveChunk = 16384;

// "a.b.c.d", four decimal parts of at most three digits, each 0-255.
bool ParseDottedIPv4(const std::string& text, std::uint32_t& addressNetOrder) {
    std::array<unsigned char, 4> bytes{};
    std::size_t pos = 0;
    for (std::size_t part = 0; part < bytes.size(); ++part) {
        if (part > 0) {
            if (pos >= text.size() || text[pos] != '.')
                return false;
            ++pos;
        }
        unsigned value = 0;
        std::size_t digits = 0;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && digits < 3) {
            value = value * 10 + static_cast<unsigned>(text[pos] - '0');
            ++pos;
            ++digits;
        }
        if (digits == 0 || value > 255)
            return false;
        bytes[part] = static_cast<unsigned char>(value);
    }
    if (pos != text.size())
        return false;
    std::memcpy(&addressNetOrder, bytes.data(), bytes.size()); // memory order is network order
    return true;
}

std::uint16_t PortToNetOrder(std::int32_t port) {
    auto value = static_cast<std::uint32_t>(port);
    const std::array<unsigned char, 2> bytes{static_cast<unsigned char>((value >> 8) & 0xFF),
                                             static_cast<unsigned char>(value & 0xFF)};
    std::uint16_t net;
    std::memcpy(&net, bytes.data(), bytes.size());
    return net;
}

} // namespace

TPowersock::TPowersock(TComponent* owner)
    : TComponent(owner), lookup_(std::make_shared<LookupState>()) {
    lookup_->owner = this;
    if (!SocketsStartup())
        throw ESockError("L'initialisation des sockets Windows a échoué");
    OpenSocket();
    if (socket_ == InvalidSocket)
        throw ESockError("L'initialisation des sockets Windows a échoué");
}

TPowersock::~TPowersock() {
    destroying_ = true;
    Cancel();
    StopTimeLimit();
    lookup_->owner = nullptr;
    if (socket_ != InvalidSocket) {
        UnwatchSocket(socket_);
        CloseSocket(socket_);
    }
}

void TPowersock::OpenSocket() {
    socket_ = OpenTcpSocket();
    if (socket_ != InvalidSocket)
        WatchSocket(socket_, [this](SocketEvent event, int error) { OnSocketEvent(event, error); });
}

void TPowersock::ProcessMessagesUntil(const std::function<bool()>& done) {
    while (!done()) {
        Application->ProcessMessages();
        if (!done())
            Application->WaitMessage();
    }
}

void TPowersock::StatusMessage(std::int32_t level, const std::string& Status) {
    if (destroying_ || level > ReportLevel)
        return;
    lastStatus_ = Status;
    if (OnStatus)
        OnStatus(this, Status);
}

void TPowersock::Cancel() {
    cancelled_ = true;
}

void TPowersock::StartTimeLimit() {
    StopTimeLimit();
    timedOut_ = false;
    if (TimeOut < 0)
        throw Exception("Aucun timer");
    if (TimeOut == 0)
        return;
    timer_ = StartTimer(static_cast<unsigned>(TimeOut), [this] {
        timer_ = 0; // one-shot: the loop has already dropped it
        // A failing status handler must not keep the waits from ending.
        try {
            StatusMessage(StatusStep, "Timer déclenché");
        } catch (...) {
        }
        timedOut_ = true;
    });
    if (timer_ == 0)
        throw Exception("Aucun timer");
}

void TPowersock::StopTimeLimit() {
    if (timer_ != 0)
        StopTimer(timer_);
    timer_ = 0;
}

void TPowersock::ResolveRemoteHost() {
    StatusMessage(StatusStep, "Résolution d'hôte");
    std::uint32_t address = 0;
    if (ParseDottedIPv4(Host, address)) {
        remoteAddress_ = address;
        return;
    }
    remoteAddress_ = 0;
    StartTimeLimit();
    lookupDone_ = false;
    const unsigned generation = ++lookup_->generation;
    try {
        std::thread([state = lookup_, generation, host = Host] {
            std::uint32_t found = 0;
            int error = LookupHostIPv4(host, found);
            PostToLoop([state, generation, error, found] {
                if (state->owner != nullptr && state->generation == generation)
                    state->owner->OnLookupDone(error, found);
            });
        }).detach();
    } catch (const std::system_error&) {
        OnLookupDone(-1, 0); // no thread to look it up: as a failed lookup
    }
    ProcessMessagesUntil([this] { return lookupDone_ || timedOut_ || cancelled_; });
    ++lookup_->generation;
    StopTimeLimit();
    if (timedOut_)
        throw ESockError("Temps imparti pour Recherche d'hôte dépassé");
    if (cancelled_)
        throw ESockError("La recherche d'hôte a été annulée");
    if (lookupError_ != 0)
        throw ESockError("La recherche d'hôte a échoué");
    remoteAddress_ = lookupAddress_;
    if (OnHostResolved)
        OnHostResolved(this);
}

void TPowersock::OnLookupDone(int error, std::uint32_t address) {
    lookupDone_ = true;
    lookupError_ = error;
    lookupAddress_ = address;
    notificationOk_ = error == 0;
}

void TPowersock::FillRemoteSockAddr() {
    remoteSockAddr_.Family = AddressFamilyInet;
    remoteSockAddr_.PortNetOrder = PortToNetOrder(Port);
    remoteSockAddr_.AddressNetOrder = remoteAddress_;
}

int TPowersock::StartConnection() {
    if (socket_ == InvalidSocket)
        OpenSocket();
    if (socket_ == InvalidSocket)
        return -1;
    return StartConnect(socket_, remoteSockAddr_.AddressNetOrder, remoteSockAddr_.PortNetOrder);
}

void TPowersock::ReceiveWaiting() {
    char chunk[ReceiveChunk];
    int error = 0;
    int n = Receive(socket_, chunk, sizeof chunk, error);
    if (n <= 0)
        return;
    std::size_t room = MaxBuffered - std::min(received_.size(), MaxBuffered);
    received_.append(chunk, std::min(static_cast<std::size_t>(n), room));
}

// Notifications come from the loop: nothing may escape from here, not even from an event
// handler.
void TPowersock::OnSocketEvent(SocketEvent event, int error) {
    try {
        notificationOk_ = error == 0;
        if (error != 0)
            StatusMessage(StatusSocketError, SocketErrorText(error));
        switch (event) {
        case SocketEvent::Connect:
            if (error == 0) {
                connected_ = true;
                if (OnConnect)
                    OnConnect(this);
            }
            break;
        case SocketEvent::Read:
            ReceiveWaiting();
            break;
        case SocketEvent::Write:
            break; // the clients never send
        case SocketEvent::Close: {
            std::size_t before;
            do {
                before = received_.size();
                ReceiveWaiting();
            } while (received_.size() != before);
            Disconnect();
            break;
        }
        }
    } catch (...) {
    }
}

std::string TPowersock::TakeBuffer() {
    std::string taken;
    taken.swap(received_);
    StatusMessage(StatusStep, "Read( 0 )");
    return taken;
}

void TPowersock::Disconnect() {
    connected_ = false;
    StatusMessage(StatusStep, "Déconnexion");
    StatusMessage(StatusSocketRequest, "Requête fermeture de socket");
    int error = 0;
    if (socket_ != InvalidSocket) {
        UnwatchSocket(socket_);
        error = CloseSocket(socket_);
        socket_ = InvalidSocket;
    }
    if (error != 0)
        throw ESockError(SocketErrorText(error));
    if (OnDisconnect)
        OnDisconnect(this);
    OpenSocket();
}

void TPowersock::AbandonConnection() {
    connected_ = false;
    received_.clear();
    if (socket_ != InvalidSocket) {
        UnwatchSocket(socket_);
        CloseSocket(socket_);
        socket_ = InvalidSocket;
    }
    OpenSocket();
}

} // namespace tk
