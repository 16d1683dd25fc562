// l_net: the plug-in's one UDP endpoint. One IPv4 datagram socket bound on one
// port, used both to send and to receive; a send buffer in which one frame is
// assembled; acknowledged sends with a list of sent records and a ring of the
// last acknowledged frames received. Module state, plain procedures, one
// thread; the socket is non-blocking, so nothing waits for the network.
//
// Calling order: NetInit, NetOpen, then per message NetResetSend, NetAppend...,
// NetSend; NetReceive whenever the caller polls; NetClose at the end. A tool
// that sends frames of its own, or wants to see what NetReceive consumes,
// uses NetSendFrame and NetReceiveOne instead.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "net/Frames.h"
#include "net/GroupKey.h"
#include "net/OperatorKey.h"

namespace cv {

// One acknowledged send.
struct TAPLpacket {
    std::uint8_t state = 1;  // 1 sent, 255 acknowledged
    std::uint16_t sequence = 0;
    std::uint32_t sendTime = 0;       // tick count when made
    std::uint16_t length = 0;         // SendLen at the send (the frame is 2 bytes longer)
    std::uint16_t port = 0;           // destination port, host order
    std::string address;              // destination exactly as given to NetSend
    std::vector<std::uint8_t> frame;  // the frame as sent
};

// One entry of the ring of acknowledged frames received: the sender is its
// address and port, or for a sealed frame its session (a resend may come
// through another adapter, from another address).
struct TAPLreg {
    std::uint16_t sequence = 0;
    std::uint16_t port = 0;
    std::string address;
    bool sealed = false;
    std::array<std::uint8_t, 8> session{};
};

constexpr std::uint8_t kPacketSent = 1;
constexpr std::uint8_t kPacketAcknowledged = 255;

// Starts the socket library and makes the endpoint ready (closing it first).
// False when the library cannot start; the endpoint then stays closed.
bool NetInit();
// Closes the socket, releases the buffers and the sent records, stops the
// library. Does nothing unless ready.
void NetClose();
// Module unload (from DllMain): as NetClose, but the socket library is left
// running, since stopping it from DllMain can deadlock the loader; the
// process ends it.
void NetUnload();
// Binds a new non-blocking broadcast socket on the low 16 bits of `port`.
// The socket handle on success, 0 on failure (the endpoint keeps no socket).
std::intptr_t NetOpen(int port);
// Empties the frame being assembled; works in every state.
void NetResetSend();
// Appends `length` bytes to the frame; false (changing nothing) unless the
// endpoint is open, length > 0 and the frame stays below 65507 bytes.
bool NetAppend(const void* bytes, std::int32_t length);
// Sends the frame to `address` (dotted decimal; null for 255.255.255.255) on
// the low 16 bits of `port`; acknowledged (with an address) sends a
// fkReliable frame and records it. The byte count sent, -1 when the send
// failed, 0 when the endpoint is not open.
int NetSend(const char* address, int port, bool acknowledged);
// Takes waiting datagrams until one yields a result: the payload length (> 0,
// copied to `dest`, unterminated), 0 for a 1-byte datagram or an empty
// fkReliable payload, -1 when nothing is waiting, the receive failed, or the
// datagram was empty or longer than `limit` (it is lost), kNetReceivePaused
// (keyed, in a group with operators) when it stopped after
// kNetMaxVerificationsPerReceive signature verifications. Acknowledgements,
// repeats and frames of unknown kind or too short are consumed without
// reaching the caller, at most kNetMaxSkippedPerReceive a call. `dest` must
// hold limit - 1 bytes. Returns 0 writing no output unless the endpoint is
// open and 1 <= limit <= 65507. The sender outputs are written for results
// above 0 and for an empty fkReliable payload; a caller that has no use for
// them may pass null for either.
std::int32_t NetReceive(void* dest, std::int32_t limit, std::string* senderAddress, int* senderPort,
                        std::int32_t* length);
// NetReceive without the copy: a result above 0 points `*payload` at the
// payload where it lies in the endpoint's receive buffer. The bytes stay as
// they are until the next call into the endpoint (the next receive, NetClose,
// NetInit); a caller that runs host code in between copies what it needs
// first.
std::int32_t NetReceiveInPlace(const std::uint8_t** payload, std::int32_t limit, std::string* senderAddress,
                               int* senderPort, std::int32_t* length);

// What one datagram taken off the socket became.
enum class NetTaken : std::uint8_t {
    Payload,   // a payload for the caller (`payload`, `length` > 0)
    Empty,     // a 1-byte datagram, or an fkReliable frame with no payload
    Nothing,   // nothing waiting, or the receive failed
    Consumed,  // taken off and kept from the caller, for the reason `why`
};
// Why a datagram was consumed.
enum class NetConsumed : std::uint8_t {
    Ack,          // an acknowledgement of `sequence` (the pending list is marked)
    Repeat,       // an acknowledged frame seen before (acknowledged again)
    UnknownKind,  // a kind byte other than 0, 1 and 2 (`kind`)
    Incomplete,   // an acknowledgement or acknowledged frame too short for a sequence
    Empty,        // a datagram of no bytes at all
    TooLong,      // longer than the limit: lost, its sender unknown
    // A keyed endpoint's reasons, in the order of its checks (SealedFrame.h):
    Unkeyed,      // not a sealed frame
    Malformed,    // not 39 to 293 bytes (sender unknown when longer)
    AnotherKey,   // sealed with another key (its key id)
    Forged,       // the tag does not verify
    Stale,        // the sender's clock is more than max-skew away from ours
    Replayed,     // its (session, counter) was heard before or is below the window
    Misdirected,  // addressed to another machine (checked before Replayed)
    Busy,         // a new session while the sessions remembered are all fresh
    // A group whose key lists operators, after every check above:
    Unsigned,         // a command not signed by an operator
    NotOperator,      // signed by a key the group does not list
    ForgedSignature,  // signed by a listed key, and the signature does not verify
};
constexpr int kNetConsumedReasons = static_cast<int>(NetConsumed::ForgedSignature) + 1;
// Signature verifications one NetReceive call makes at most: a flood of
// badly signed frames cannot hold it (each takes tens of microseconds). A
// call that stops for it answers kNetReceivePaused: more may be waiting, and
// the caller may call again once it has looked at its clock.
constexpr int kNetMaxVerificationsPerReceive = 8;
constexpr std::int32_t kNetReceivePaused = -2;
struct NetDatagram {
    NetTaken taken = NetTaken::Nothing;
    NetConsumed why = NetConsumed::Ack;  // when Consumed
    const std::uint8_t* payload = nullptr;
    std::int32_t length = 0;  // of the payload; 0 unless Payload
    std::uint8_t kind = 0;    // the kind byte; 0 for an empty or over-long datagram
    bool sequenced = false;   // an acknowledgement or acknowledged frame long enough for `sequence`
    std::uint16_t sequence = 0;
    std::uint32_t address = 0;  // sender, network byte order; 0 with port 0 when unknown
    std::uint16_t port = 0;     // sender, host order
    // A signed frame's signer (the 32 bytes of its public key, in the receive
    // buffer), else null; byOperator when the signature verified against a
    // listed operator.
    const std::uint8_t* signer = nullptr;
    bool byOperator = false;
};

// Takes at most one datagram off the socket (at most `limit` bytes, kind byte
// included) and does what the endpoint does with it: marks the pending list
// for an acknowledgement, acknowledges an fkReliable frame and checks it
// against the ring of frames seen. `*out` says what it became; a payload
// points into the endpoint's receive buffer and stays as it is until the next
// call into the endpoint. Nothing (and no datagram taken) unless the endpoint
// is open and 1 <= limit <= 65507. NetReceive and NetReceiveInPlace are loops
// over it; a tool that wants to see what they consume loops over it itself.
void NetReceiveOne(std::int32_t limit, NetDatagram* out);

// Sends `length` bytes exactly as given (kind byte first) through the
// endpoint's socket to `address` (dotted decimal; null for 255.255.255.255) on
// the low 16 bits of `port`. No record, no sequence: a tool that wants an
// acknowledged send builds the fkReliable frame itself and keeps its copy for
// resending. The byte count sent, -1 when the send failed, 0 when the
// endpoint is not open or length < 1.
int NetSendFrame(const void* frame, std::int32_t length, const char* address, int port);

// Dotted-decimal text of an address in network byte order.
std::string NetAddressText(std::uint32_t networkOrder);

// Closes the endpoint (as NetClose) and makes it keyed (a copy of `key` is
// kept, wiped when it goes) or, with null, unkeyed; it stays so through
// NetClose and NetInit. NetInit draws the session id and forgets the
// sessions heard. A keyed endpoint seals every frame it sends (plain,
// acknowledged, acknowledgements, NetSendFrame's; byte counts are those of
// the sealed frames; an inner frame over 255 bytes is refused) for its
// destination, and sends a frame for everybody to the broadcast address of
// every adapter (Adapters.h). It takes only sealed frames of its key,
// addressed to everybody or to this machine, which it opens and checks, then
// handles their inner frames as an unkeyed endpoint handles datagrams (a
// limit applies to the inner frame). NetInit fails when the cryptography
// library cannot start.
void NetSetKey(const GroupKey* key);
bool NetKeyed();
// Datagrams consumed since NetInit for the reason `why`.
std::uint32_t NetConsumedCount(NetConsumed why);
// A reason in words: "ack", "repeat", "unknown kind", "incomplete", "empty",
// "too long", "unkeyed", "malformed", "another key", "forged", "stale",
// "replayed", "misdirected", "busy", "unsigned", "not an operator", "forged".
const char* NetConsumedWord(NetConsumed why);

// Whether a payload (the bytes after a frame's kind and sequence) is a
// command: what only an operator may send in a group that lists operators.
// Set by the layer that knows the payloads; none: nothing is.
using NetCommandTest = bool (*)(const std::uint8_t* payload, std::int32_t length);
void NetSetCommandTest(NetCommandTest test);
// An operator's key (a copy is kept, wiped when it goes) with which a keyed
// endpoint signs every command it sends; null: it signs nothing. Kept
// through NetSetKey, NetInit and NetClose.
void NetSetOperator(const OperatorKey* key);
bool NetSigns();

// Read-only views for tests and tools.
bool NetIsReady();
std::intptr_t NetSocketHandle();  // 0 when there is none
std::int32_t NetSendLength();
const std::vector<TAPLpacket>& NetPendingList();

}  // namespace cv
