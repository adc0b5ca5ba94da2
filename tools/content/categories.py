# SPDX-License-Identifier: GPL-3.0-or-later
"""The category range table: (code, category, [(sub-category, first, last)])."""

CATEGORIES = [
    (100, "Basic", [("All", 1, 154), ("Greetings", 1, 7), ("Language", 8, 23), ("Weather", 24, 41),
                    ("Signs", 42, 50), ("Date and Time", 51, 81), ("Numbers", 82, 92),
                    ("Key Words and Phrases", 93, 154)]),
    (200, "Travel", [("All", 155, 314), ("Arrival", 155, 161), ("Loss and damage", 162, 165),
                     ("Directions", 166, 172), ("Plane", 173, 212), ("Signs", 251, 275),
                     ("Train/Bus", 213, 250), ("Car rental", 276, 293), ("Gas and Parking", 294, 299),
                     ("Problems", 300, 305), ("Taxi", 306, 314)]),
    (300, "Food", [("All", 315, 475), ("Finding a Restaurant", 315, 325), ("At the Restaurant", 326, 340),
                   ("Personal Needs", 341, 406), ("Complaints", 407, 413), ("Menu Reader", 414, 475)]),
    (400, "Lodging", [("All", 476, 552), ("Reservation", 476, 480), ("At Hotel", 481, 491),
                      ("Check in", 492, 515), ("About Hotel", 516, 521), ("Personal Needs", 522, 534),
                      ("Problems", 535, 544), ("Check out", 545, 552)]),
    (500, "Business", [("All", 553, 571), ("Basic", 553, 562), ("Exchange Information", 563, 571)]),
    (600, "Sightseeing", [("All", 572, 615), ("Questions", 572, 595), ("Useful Words", 596, 601),
                          ("Leisure", 602, 615)]),
    (700, "Social", [("All", 616, 657), ("Conversation", 616, 647), ("Get Together", 648, 653),
                     ("Exchange Information", 654, 657)]),
    (800, "Shopping", [("All", 658, 713), ("Finding places", 658, 672), ("Purchase", 673, 701),
                       ("Return", 702, 705), ("Banking", 706, 713)]),
    (900, "Emergency", [("All", 714, 755), ("Medical", 714, 740), ("Lost and Missing", 741, 749),
                        ("Help", 750, 755)]),
    (1000, "Question", [("All", 756, 826), ("Where", 756, 763), ("When", 764, 786),
                        ("How much/many", 787, 798), ("Why", 799, 802), ("Who/Which", 803, 826)]),
]


def ranges():
    """Every (code + index, first, last) of the table."""
    for code, _, subs in CATEGORIES:
        for i, (_, first, last) in enumerate(subs):
            yield code + i, first, last


def leaf_of(n: int):
    """The (category, sub-category) whose narrowest range holds phrase n."""
    for _, cat, subs in CATEGORIES:
        for name, first, last in subs[1:]:
            if first <= n <= last:
                return cat, name
    return None
