#pragma once
// The requests of one device connection, read off its stream and answered
// in order: what the daemon runs for each connection to a card. Frames the
// client says it never delivered go back to the card when the stream ends
// (see AnsweredFrames).

#include "cardsim/card.h"
#include "cardsim/reply_batch.h"
#include "driver_if/wire.h"

namespace cardsim {

// Until the stream ends or breaks the format; a request that breaks it
// ends this connection only.
void ServeDeviceRequests(Card& card, Session& session, wire::Reader& reader, ReplyBatch& replies);

}  // namespace cardsim
