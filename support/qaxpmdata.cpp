// The built-in pictures of the actions and the two edition icons, as XPM data.
// An image of the same name in the installation's image directory overrides them.
#include "support/qapixmaps.h"

#include <cstring>

namespace {

// A blank page with a folded corner
const char *const new_xpm[] = {
    "16 16 3 1",
    ". c None",
    "# c #000000",
    "w c #FFFFFF",
    "................",
    "..#########.....",
    "..#wwwwwww##....",
    "..#wwwwwww#w#...",
    "..#wwwwwww#ww#..",
    "..#wwwwwww####..",
    "..#wwwwwwwwww#..",
    "..#wwwwwwwwww#..",
    "..#wwwwwwwwww#..",
    "..#wwwwwwwwww#..",
    "..#wwwwwwwwww#..",
    "..#wwwwwwwwww#..",
    "..#wwwwwwwwww#..",
    "..#wwwwwwwwww#..",
    "..############..",
    "................"
};

// An opening folder
const char *const open_xpm[] = {
    "16 16 4 1",
    ". c None",
    "# c #000000",
    "y c #FFFF99",
    "o c #D8B040",
    "................",
    "..........###...",
    ".........#...#.#",
    "..............##",
    ".###.........###",
    "#yyy#######.....",
    "#yyyyyyyyy#.....",
    "#yyy############",
    "#yy#ooooooooooo#",
    "#yy#oooooooooo#.",
    "#y#oooooooooo#..",
    "#y#ooooooooo#...",
    "##oooooooooo#...",
    "##ooooooooo#....",
    "############....",
    "................"
};

// A floppy disk
const char *const save_xpm[] = {
    "16 16 5 1",
    ". c None",
    "# c #000000",
    "b c #3050A0",
    "w c #FFFFFF",
    "g c #C0C0C0",
    "................",
    ".##############.",
    ".#bb#wwwwww#bb#.",
    ".#bb#wwwwww#bb#.",
    ".#bb#wwwwww#bb#.",
    ".#bb#wwwwww#bb#.",
    ".#bb########bb#.",
    ".#bbbbbbbbbbbb#.",
    ".#bbbbbbbbbbbb#.",
    ".#bb########bb#.",
    ".#bb#gg#ggg#bb#.",
    ".#bb#gg#ggg#bb#.",
    ".#bb#gg#ggg#bb#.",
    ".#bb#gggggg#bb#.",
    "..#############.",
    "................"
};

// An arrow bending back to the left
const char *const undo_xpm[] = {
    "16 16 3 1",
    ". c None",
    "# c #000000",
    "b c #2060C0",
    "................",
    "................",
    "................",
    "....#...........",
    "...##...........",
    "..#b#######.....",
    ".#bbbbbbbbb##...",
    "..#b#######bb#..",
    "...##......#bb#.",
    "....#.......#b#.",
    ".............#b#",
    ".............#b#",
    ".............#b#",
    "............#bb#",
    "...........####.",
    "................"
};

// An arrow bending forward to the right
const char *const redo_xpm[] = {
    "16 16 3 1",
    ". c None",
    "# c #000000",
    "b c #2060C0",
    "................",
    "................",
    "................",
    "...........#....",
    "...........##...",
    ".....#######b#..",
    "...##bbbbbbbbb#.",
    "..#bb#######b#..",
    ".#bb#......##...",
    ".#b#.......#....",
    "#b#.............",
    "#b#.............",
    "#b#.............",
    "#bb#............",
    ".####...........",
    "................"
};

// A pair of scissors
const char *const cut_xpm[] = {
    "16 16 2 1",
    ". c None",
    "# c #000000",
    "................",
    "....#.....#.....",
    "....#.....#.....",
    "....#.....#.....",
    "....##...##.....",
    ".....#...#......",
    ".....##.##......",
    "......#.#.......",
    ".......#........",
    "......#.#.......",
    "....###.###.....",
    "...#..#.#..#....",
    "..#...#.#...#...",
    "..#...#.#...#...",
    "..#..#...#..#...",
    "...##.....##...."
};

// Two overlapping pages
const char *const copy_xpm[] = {
    "16 16 3 1",
    ". c None",
    "# c #000000",
    "w c #FFFFFF",
    "................",
    "######..........",
    "#wwww##.........",
    "#w##w#w#........",
    "#wwww####.......",
    "#w###w######....",
    "#wwwww#wwww##...",
    "#w####w#w##w#w#.",
    "#wwwww##wwww####",
    "#w####w#w####ww#",
    "#wwwww##wwwwwww#",
    "#######.#w####w#",
    "........#wwwwww#",
    "........#w####w#",
    "........#wwwwww#",
    "........########"
};

// A page coming off a clipboard
const char *const paste_xpm[] = {
    "16 16 5 1",
    ". c None",
    "# c #000000",
    "o c #B08040",
    "y c #FFFF00",
    "w c #FFFFFF",
    "......###.......",
    "..####yyy####...",
    ".#ooo#y###ooo#..",
    ".#oo#######oo#..",
    ".#oooooooooo#...",
    ".#ooo########...",
    ".#ooo#wwwwww##..",
    ".#ooo#w####w#w#.",
    ".#ooo#wwwwww####",
    ".#ooo#w#####www#",
    ".#ooo#wwwwwwwww#",
    ".#ooo#w######ww#",
    ".#ooo#wwwwwwwww#",
    ".#####w######ww#",
    "......#wwwwwwww#",
    "......##########"
};

// A red cross
const char *const delete_xpm[] = {
    "16 16 2 1",
    ". c None",
    "r c #D01010",
    "................",
    "................",
    "..rr........rr..",
    "..rrr......rrr..",
    "...rrr....rrr...",
    "....rrr..rrr....",
    ".....rrrrrr.....",
    "......rrrr......",
    "......rrrr......",
    ".....rrrrrr.....",
    "....rrr..rrr....",
    "...rrr....rrr...",
    "..rrr......rrr..",
    "..rr........rr..",
    "................",
    "................"
};

// Binoculars
const char *const find_xpm[] = {
    "16 16 4 1",
    ". c None",
    "g c #C5C5C5",
    "# c #000000",
    "w c #FEFEFE",
    "................",
    "..####....####..",
    "..#gg#....#gg#..",
    "..#gg#....#gg#..",
    ".######..######.",
    ".#gggg####gggg#.",
    "#gggggg##gggggg#",
    "#g####g##g####g#",
    "#g#ww#gggg#ww#g#",
    "#g#w##g##g#w##g#",
    "#g####g##g####g#",
    "#gggggg##gggggg#",
    ".#gggg#..#gggg#.",
    "..####....####..",
    "................",
    "................"
};

// An open book
const char *const contents_xpm[] = {
    "16 16 4 1",
    ". c None",
    "# c #000000",
    "w c #FFFFFF",
    "b c #2050A0",
    "................",
    "................",
    ".####.....####..",
    "#wwww##.##wwww#.",
    "#w###w#b#w###w#.",
    "#wwwww#b#wwwww#.",
    "#w###w#b#w###w#.",
    "#wwwww#b#wwwww#.",
    "#w###w#b#w###w#.",
    "#wwwww#b#wwwww#.",
    "#w###w#b#w###w#.",
    "#wwwww#b#wwwww#.",
    ".####w#b#w####..",
    ".....##b##......",
    "......###.......",
    "................"
};

// An 'i' in a blue disc
const char *const about_xpm[] = {
    "16 16 4 1",
    ". c None",
    "# c #103070",
    "b c #3070D0",
    "w c #FFFFFF",
    "................",
    ".....######.....",
    "...##bbbbbb##...",
    "..#bbbbwwbbbb#..",
    ".#bbbbbwwbbbbb#.",
    ".#bbbbbbbbbbbb#.",
    "#bbbbbwwwbbbbbb#",
    "#bbbbbbwwbbbbbb#",
    "#bbbbbbwwbbbbbb#",
    "#bbbbbbwwbbbbbb#",
    ".#bbbbbwwbbbbb#.",
    ".#bbbbwwwwbbbb#.",
    "..#bbbbbbbbbb#..",
    "...##bbbbbb##...",
    ".....######.....",
    "................"
};

// A globe with a link
const char *const htmllink_xpm[] = {
    "16 16 5 1",
    ". c None",
    "# c #103060",
    "b c #4080E0",
    "l c #A0D0FF",
    "y c #E0B000",
    "................",
    "....######......",
    "...#lblbbl#.....",
    "..#blblbblb#....",
    ".#bbbblbbbbb#...",
    ".#bbbblbbbbb#...",
    ".#llllllllll#...",
    ".#bbbblbbbbb#...",
    ".#bbbblbbbbb#...",
    ".#bbbblbbbbb#...",
    "..#blblbblb#....",
    "...#lblbbl#####.",
    "....######yyyyy#",
    ".........#y###y#",
    ".........#yyyyy#",
    "..........#####."
};

// The orbisk mark: a white ring on a teal orb
const char *const orbkicon32x32_xpm[] = {
    "32 32 6 1",
    ". c None",
    "# c #004848",
    "d c #007C7C",
    "m c #00A0A0",
    "h c #40C8C8",
    "w c #FFFFFF",
    "................................",
    "...........##########...........",
    ".........###mmmmmmmm###.........",
    ".......##mmmmmmmmmmmmmm##.......",
    "......##mmmmmmmmmmmmmmmm##......",
    ".....#mhhhhhhhmmmmmmmmmmmm#.....",
    "....#mhhhhhhhhhmmmmmmmmmmmd#....",
    "...##hhhhhhhhhhhmmmmmmmmmmd##...",
    "...#mhhhhhhhhhhhmmmmmmmmmmdd#...",
    "..#mmhhhhhhhhwwwwwwmmmmmmmddd#..",
    "..#mmhhhhhhwwwwwwwwwwmmmmmddd#..",
    ".##mmhhhhhwwwwhhmmwwwwmmmmddd##.",
    ".#mmmhhhhhwwwhhhmmmwwwmmmmdddd#.",
    ".#mmmhhhhhwwwhhhmmmwwwmmmmdddd#.",
    ".#mmmmhhhhwwwhhmmmmwwwmmmmdddd#.",
    ".#mmmmmhhhwwwhmmmmmwwwmmmmdddd#.",
    ".#mmmmmmmmwwwmmmmmmwwwmmmddddd#.",
    ".#mmmmmmmmwwwmmmmmmwwwmmmddddd#.",
    ".#mmmmmmmmwwwmmmmmmwwwmmdddddd#.",
    ".#mmmmmmmmwwwwmmmmwwwwmmdddddd#.",
    ".##mmmmmmmmwwwwwwwwwwmmdddddd##.",
    "..#mmmmmmmmmmwwwwwwmmmddddddd#..",
    "..#mmmmmmmmmmmmmmmmmmdddddddd#..",
    "...#mmmmmmmmmmmmmmmmdddddddd#...",
    "...##mmmmmmmmmmmmmddddddddd##...",
    "....#mmmmmmmmmmmddddddddddd#....",
    ".....#dddddddddddddddddddd#.....",
    "......##dddddddddddddddd##......",
    ".......##dddddddddddddd##.......",
    ".........###dddddddd###.........",
    "...........##########...........",
    "................................"
};

// The zephrin mark: a white z on a violet orb
const char *const zphricon32x32_xpm[] = {
    "32 32 6 1",
    ". c None",
    "# c #401060",
    "d c #6A2A90",
    "m c #8A44B8",
    "h c #B070E0",
    "w c #FFFFFF",
    "................................",
    "...........##########...........",
    ".........###mmmmmmmm###.........",
    ".......##mmmmmmmmmmmmmm##.......",
    "......##mmmmmmmmmmmmmmmm##......",
    ".....#mhhhhhhhmmmmmmmmmmmm#.....",
    "....#mhhhhhhhhhmmmmmmmmmmmd#....",
    "...##hhhhhhhhhhhmmmmmmmmmmd##...",
    "...#mhhhhhhhhhhhmmmmmmmmmmdd#...",
    "..#mmhhhhhwwwwwwwwwwwwmmmmddd#..",
    "..#mmhhhhhwwwwwwwwwwwwmmmmddd#..",
    ".##mmhhhhhhhhhhhmmmwwwmmmmddd##.",
    ".#mmmhhhhhhhhhhhmmwwwmmmmmdddd#.",
    ".#mmmhhhhhhhhhhhmwwwmmmmmmdddd#.",
    ".#mmmmhhhhhhhhhmwwwmmmmmmmdddd#.",
    ".#mmmmmhhhhhhhmwwwmmmmmmmmdddd#.",
    ".#mmmmmmmmmmmmwwwmmmmmmmmddddd#.",
    ".#mmmmmmmmmmmwwwmmmmmmmmmddddd#.",
    ".#mmmmmmmmmmwwwmmmmmmmmmdddddd#.",
    ".#mmmmmmmmmwwwmmmmmmmmmmdddddd#.",
    ".##mmmmmmmwwwwwwwwwwwwmdddddd##.",
    "..#mmmmmmmwwwwwwwwwwwwddddddd#..",
    "..#mmmmmmmmmmmmmmmmmmdddddddd#..",
    "...#mmmmmmmmmmmmmmmmdddddddd#...",
    "...##mmmmmmmmmmmmmddddddddd##...",
    "....#mmmmmmmmmmmddddddddddd#....",
    ".....#dddddddddddddddddddd#.....",
    "......##dddddddddddddddd##......",
    ".......##dddddddddddddd##.......",
    ".........###dddddddd###.........",
    "...........##########...........",
    "................................"
};

struct Entry
{
    const char *name;
    const char *const *data;
};

const Entry s_pictures[] = {
    {"new_xpm", new_xpm},
    {"open_xpm", open_xpm},
    {"save_xpm", save_xpm},
    {"undo_xpm", undo_xpm},
    {"redo_xpm", redo_xpm},
    {"cut_xpm", cut_xpm},
    {"copy_xpm", copy_xpm},
    {"paste_xpm", paste_xpm},
    {"delete_xpm", delete_xpm},
    {"find_xpm", find_xpm},
    {"contents_xpm", contents_xpm},
    {"about_xpm", about_xpm},
    {"htmllink_xpm", htmllink_xpm},
    {"orbkicon32x32_xpm", orbkicon32x32_xpm},
    {"zphricon32x32_xpm", zphricon32x32_xpm},
};

} // namespace

const char *const *qaBuiltinXpm(const char *name)
{
    if (!name)
        return nullptr;
    for (const Entry &entry : s_pictures) {
        if (std::strcmp(entry.name, name) == 0)
            return entry.data;
    }
    return nullptr;
}
