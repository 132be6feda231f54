// TPowersock: a TCP client socket whose notifications, time limit and name lookups arrive as
// messages of the application's loop. The protocol clients (netclients/) derive from it and
// drive a query through the operations below; everything runs on the GUI thread.
#pragma once

#include "platform/Classes.h"
#include "platform/MessageLoop.h"
#include "platform/Sockets.h"
#include "platform/SysUtils.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace tk {

// The socket component's failures, with their French texts.
class ESockError : public Exception {
public:
    using Exception::Exception;
};

using THandlerEvent = std::function<void(bool& Handled)>;
using TOnHostResolved = std::function<void(TComponent* Sender)>;
using TOnStatus = std::function<void(TComponent* Sender, const std::string& Status)>;

// Status levels: ReportLevel 0 reports nothing, 16 everything.
inline constexpr std::int32_t StatusSocketRequest = 4; // requests made to the socket itself
inline constexpr std::int32_t StatusStep = 8;          // the component's other steps
inline constexpr std::int32_t StatusSocketError = 16;  // a notification that carried an error

// An IPv4 socket address, as the connect call takes it.
struct TSockAddrIn {
    std::uint16_t Family = 0; // 2 (AF_INET) once filled
    std::uint16_t PortNetOrder = 0;
    std::uint32_t AddressNetOrder = 0;
};

class TPowersock : public TComponent {
public:
    // ESockError "L'initialisation des sockets Windows a échoué" when the socket layer cannot
    // be prepared.
    explicit TPowersock(TComponent* owner);
    ~TPowersock() override;
    TPowersock(const TPowersock&) = delete;
    TPowersock& operator=(const TPowersock&) = delete;

    std::string Host;         // host name or dotted IPv4 address
    std::int32_t Port = 0;    // its low 16 bits are used
    std::int32_t TimeOut = 0; // milliseconds; 0: the waits have no limit
    std::int32_t ReportLevel = 0;

    THandlerEvent OnInvalidHost;
    TOnHostResolved OnHostResolved;
    TNotifyEvent OnConnect;
    TNotifyEvent OnDisconnect;
    TOnStatus OnStatus;
    TNotifyEvent OnConnectionFailed; // fired by no operation the protocol clients use

    // The state a query reads and writes.
    bool Connected() const { return connected_; }
    std::uint32_t RemoteAddress() const { return remoteAddress_; } // network order; 0: none
    bool NotificationOk() const { return notificationOk_; }
    void ClearNotificationOk() { notificationOk_ = false; }
    bool TimedOut() const { return timedOut_; }
    bool Cancelled() const { return cancelled_; }
    void ClearCancel() { cancelled_ = false; }
    std::size_t BufferedBytes() const { return received_.size(); }
    const TSockAddrIn& RemoteSockAddr() const { return remoteSockAddr_; }
    const std::string& LastStatus() const { return lastStatus_; }

    // Resolve: reports "Résolution d'hôte" and sets RemoteAddress from Host. A dotted IPv4
    // address needs no lookup (0.0.0.0 gives 0). A name is looked up on a worker thread while
    // messages are processed, within TimeOut; then, in this order: ESockError "Temps imparti
    // pour Recherche d'hôte dépassé", "La recherche d'hôte a été annulée" (Cancel), "La
    // recherche d'hôte a échoué"; else the first IPv4 address is taken and OnHostResolved fired.
    void ResolveRemoteHost();
    // The time limit: clears TimedOut and starts a one-shot timer of TimeOut ms, counted from
    // this call (none for 0). When it elapses (only while messages are processed) "Timer
    // déclenché" is reported and TimedOut set. Exception "Aucun timer" when the system refuses
    // one or TimeOut is negative.
    void StartTimeLimit();
    void StopTimeLimit();
    // Fills RemoteSockAddr from RemoteAddress and the low 16 bits of Port.
    void FillRemoteSockAddr();
    // Starts a non-blocking connect to RemoteSockAddr; the outcome arrives as a notification.
    // Returns 0 or the system's error number of a call that failed at once.
    int StartConnection();
    // Every byte received and not yet taken, in arrival order; the buffer is left empty.
    // Reports "Read( 0 )". The buffer holds at most MaxBuffered bytes (later ones are dropped),
    // so a caller that takes at most 65,535 sees the overflow in BufferedBytes().
    std::string TakeBuffer();
    static constexpr std::size_t MaxBuffered = 65536;
    // Clears Connected and closes the socket: reports "Déconnexion" then "Requête fermeture de
    // socket"; on success fires OnDisconnect and opens a fresh socket for the next query, else
    // ESockError with the system error's text.
    void Disconnect();
    // Drops a connection attempt that has not ended: the socket is closed and replaced and the
    // buffer emptied, so nothing of it reaches a later query. No events, no reports.
    void AbandonConnection();
    // Keeps `Status` as LastStatus and fires OnStatus when level <= ReportLevel, except while
    // the component is being destroyed.
    void StatusMessage(std::int32_t level, const std::string& Status);
    // Sets the cancel flag: a name lookup under way ends with "La recherche d'hôte a été
    // annulée". Run by the destructor.
    void Cancel();

    // Processes messages until `done` holds, asleep between messages: never a busy wait.
    static void ProcessMessagesUntil(const std::function<bool()>& done);

private:
    struct LookupState;
    void OpenSocket();
    void CloseAndReplaceSocket(bool report);
    void OnSocketEvent(SocketEvent event, int error);
    void OnLookupDone(int error, std::uint32_t address);
    void ReceiveWaiting();

    SocketHandle socket_ = InvalidSocket;
    TimerId timer_ = 0;
    bool connected_ = false;
    std::uint32_t remoteAddress_ = 0;
    bool notificationOk_ = false;
    bool timedOut_ = false;
    bool cancelled_ = false;
    bool destroying_ = false;
    std::string received_;
    TSockAddrIn remoteSockAddr_;
    std::string lastStatus_;
    // Shared with the posted answers of name lookups, which may outlive the component.
    std::shared_ptr<LookupState> lookup_;
    bool lookupDone_ = false;
    int lookupError_ = 0;
    std::uint32_t lookupAddress_ = 0;
};

} // namespace tk
