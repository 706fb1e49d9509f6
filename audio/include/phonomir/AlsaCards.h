// What ALSA knows about the machine's sound cards: their numbers and whether a card can play or
// record. Called on the UI thread at start-up.
#pragma once

#include <vector>

namespace phonomir {

// Card numbers in ascending order; empty on a machine without sound cards.
std::vector<int> alsaCardNumbers();

struct CardDirections {
    bool canPlay = false;
    bool canRecord = false;
};
// From the card's PCM devices; both false when the card does not exist.
CardDirections alsaCardDirections(int cardNumber);

}  // namespace phonomir
