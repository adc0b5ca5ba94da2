// SPDX-License-Identifier: GPL-3.0-or-later
// Whether the bytes under the favourites name are a favourites file this
// program can change without losing anything.
//
// Sound: whole records, each reading as a record. TornTail: sound whole
// records (at least one) and a tail shorter than a record that reads as the
// start of one, which is what an add cut off by a crash leaves; only this
// tail may be cut away. Foreign: anything else (a record that does not read
// as a record, a tail after no record at all, a tail that is no record's
// start); it is kept byte for byte before anything is written.
#pragma once

#include <cstddef>
#include <vector>

#include "data/records.h"

namespace lexoria {

enum class FavouritesShape { Sound, TornTail, Foreign };

// A record as the program writes one: a non-empty, well-formed text ended
// inside its field, and a positive phrase number of sensible size.
bool ReadsAsFavourite(const EnglishBytes& record);

// bytes: the whole file.
FavouritesShape ShapeOfFavourites(const std::vector<unsigned char>& bytes);

}  // namespace lexoria
