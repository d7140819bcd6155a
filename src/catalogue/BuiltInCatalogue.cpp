#include "BuiltInCatalogue.h"

#include "TextDecoding.h"
#include "WordSort.h"

#include <algorithm>
#include <iterator>

namespace Lanvo {

namespace {

// One games-file line per game: name padded to 45 (the "tws96" line to 44), year as 4 characters,
// manufacturer padded to 28, type, ROM set name. The padding is part of the data: it is what the
// sort sees and what users see when they open the file.
constexpr const char *kGameLines[] = {
    "2020 Super Baseball                          ;1991;Pallas                      ;Sport;2020bb",
    "3 Count Bout (Fire Suplex)                   ;1993;SNK                         ;Sport;3countb  ",
    "ADK World                                    ;    ;ADK                         ;;adkw     ",
    "Aero Fighters 2 (Sonic Wings 2)              ;1994;Video System                ;Shooter;aerofig2 ",
    "Aero Fighters 3 (Sonic Wings 3)              ;1995;Video System                ;Shooter;aerofig3 ",
    "Aggressors of Dark Kombat                    ;1994;ADK                         ;Fighting;aodk     ",
    "Alpha Mission                                ;    ;SNK                         ;Shooter;alpham   ",
    "Alpha Mission II                             ;1991;SNK                         ;Shooter;alpham2  ",
    "Andro Dunos                                  ;1992;Visco                       ;Shooter;androdun ",
    "Art Of Fighting                              ;1992;SNK                         ;Fighting;artfight ",
    "Art Of Fighting 2                            ;1994;SNK                         ;Fighting;aof2     ",
    "Art Of Fighting 3                            ;1996;SNK                         ;Fighting;aof3     ",
    "Baka Tonosama Mahjong Hoyuki                 ;    ;                            ;;btmh     ",
    "Baseball Stars (Professional)                ;1990;SNK                         ;Sport;bstars   ",
    "Baseball Stars 2                             ;1992;SNK                         ;Sport;bstars2  ",
    "Big Tournament Golf                          ;1997;Nazca                       ;Sport;bigtgolf ",
    "Blazing Star                                 ;1998;Yumekobo                    ;Shooter;blazstar ",
    "Blue Star                                    ;    ;                            ;3D;bluestar ",
    "Blue's Journey                               ;1990;ADK                         ;Platform;bjourney ",
    "Breakers                                     ;1996;Visco                       ;Fighting;breakers ",
    "Burning Fight                                ;1991;SNK                         ;Arcade;burningf ",
    "Cho Bricks                                   ;    ;                            ;;chobri   ",
    "Crossed Swords                               ;1991;ADK                         ;Arcade;crsword  ",
    "Crossed Swords 2                             ;1995;ADK                         ;Arcade;crsword2 ",
    "Cyber-Lip                                    ;1990;SNK                         ;Platform;cyberlip ",
    "Cyber-Lip (Alternate)                        ;    ;SNK                         ;Platform;cybrlipa ",
    "Deadly Spin                                  ;    ;                            ;Arcade;deadlysp ",
    "Double Dragon                                ;1995;Technos                     ;Fighting;doubledr ",
    "Drift Out                                    ;1991;Visco                       ;Racing;driftout ",
    "D-Star                                       ;    ;                            ;3D;dstar    ",
    "Eight Man                                    ;1991;SNK                         ;Platform;eightman ",
    "Fatal Fury                                   ;1991;SNK                         ;Fighting;fatfury1 ",
    "Fatal Fury 2                                 ;1992;SNK                         ;Fighting;fatfury2 ",
    "Fatal Fury 3                                 ;1995;SNK                         ;Fighting;fatfury3 ",
    "Fatal Fury Special                           ;1993;SNK                         ;Fighting;fatfurys ",
    "Fight Fever                                  ;1994;Viccom                      ;Fighting;ffeverl  ",
    "Football Frenzy                              ;1992;SNK                         ;Sport;fbfrenzy ",
    "Fun Fun Brothers                             ;    ;Eolith                      ;Puzzle;ffbroth  ",
    "Futsal                                       ;    ;                            ;;futsal   ",
    "Fu'un Super Tag Battle                       ;1996;SNK                         ;Fighting;fstb     ",
    "Galaxy Fight                                 ;1995;Sunsoft                     ;Fighting;galfight ",
    "Ghost Pilots                                 ;1991;SNK                         ;Shooter;gpilots  ",
    "Goal! Goal! Goal!                            ;1995;Visco                       ;Sport;Goalx3   ",
    "Gowcaizer                                    ;1995;Technos                     ;Fighting;gowkaizr ",
    "Gururin                                      ;1994;Face                        ;Puzzle;guruin   ",
    "Joy Joy Kid                                  ;1990;SNK                         ;Puzzle;joyjoy   ",
    "Kabuki Klash                                 ;1995;Hudson Soft                 ;Fighting;kklash   ",
    "Karnov's Revenge                             ;1994;Data East                   ;Fighting;krevenge ",
    "King of Fighters '94                         ;1994;SNK                         ;Fighting;kof94    ",
    "King of Fighters '95                         ;1995;SNK                         ;Fighting;kof95    ",
    "King of Fighters '96                         ;1996;SNK                         ;Fighting;kof96    ",
    "King of Fighters '96 (CD)                    ;    ;SNK                         ;Fighting;kof96cd  ",
    "King of Fighters '97                         ;1997;SNK                         ;Fighting;kof97    ",
    "King of Fighters '98                         ;1998;SNK                         ;Fighting;kof98    ",
    "King of the Monsters                         ;1991;SNK                         ;Fighting;kingofm  ",
    "King of the Monsters 2                       ;1992;SNK                         ;Fighting;kotm2    ",
    "Last Blade                                   ;1997;SNK                         ;Fighting;lblade   ",
    "Last Resort                                  ;1992;SNK                         ;Shooter;lresort  ",
    "League Bowling                               ;1990;SNK                         ;Sport;lbowling ",
    "Legend of Success Joe                        ;1991;Wave                        ;Sport;lsjoe    ",
    "Magical Drop                                 ;1995;Data East                   ;Puzzle;mdrop    ",
    "Magical Drop II                              ;1996;Data East                   ;Puzzle;mdrop2   ",
    "Magical Drop III                             ;1997;Data East                   ;Puzzle;mdrop3   ",
    "Magician Lord                                ;1990;ADK                         ;Platform;maglord  ",
    "Mahjong Kyoretsuden                          ;1990;SNK                         ;Puzzle;mahretsu ",
    "Mahjong Studio                               ;    ;Face                        ;;mahjongs ",
    "Mania Dream Quiz                             ;    ;Saurus                      ;Puzzle;mdquiz   ",
    "Master of Syougi                             ;1995;ADK                         ;Puzzle;msyogi   ",
    "Metal Slug                                   ;1996;Nazka                       ;Arcade;mslug    ",
    "Metal Slug 2                                 ;1998;Nazka                       ;Arcade;mslug2   ",
    "Minnasan no Okagesamadesu                    ;1990;Monolith                    ;Puzzle;minnooka ",
    "Mutation Nation                              ;1992;SNK                         ;Arcade;mutnat   ",
    "Mystery Man                                  ;    ;                            ;;mystman  ",
    "NAM-1975                                     ;1990;SNK                         ;Shooter;nam_1975 ",
    "Neo Bomberman                                ;1997;Hudson Soft                 ;Puzzle;nbombe   ",
    "Neo Drift Out                                ;1996;Visco                       ;Racing;ndrftout ",
    "Neo Launch Special                           ;    ;SNK                         ;Demos;ngcdspec ",
    "Neo Mr. Do!                                  ;1996;Visco                       ;Arcade;neomrdo  ",
    "Neo Turf Masters                             ;1996;Nazca                       ;Sport;ntmaster ",
    "Ninja Combat                                 ;1990;ADK                         ;Arcade;ncombat  ",
    "Ninja Commando                               ;1992;ADK                         ;Arcade;ncommand ",
    "Ninja Master's                               ;1996;ADK                         ;Fighting;nmaster  ",
    "Operation Guard                              ;    ;                            ;;oprgard  ",
    "Over Top                                     ;1996;ADK                         ;Racing;ovtop    ",
    "Panic Bomber                                 ;1995;Eighting                    ;Puzzle;pbomber  ",
    "Pleasure Goal                                ;1996;Saurus                      ;Sport;pgoal    ",
    "Pop 'n Bounce                                ;1997;Video System                ;Puzzle;pnbnce   ",
    "Power Spikes II                              ;1994;Video System                ;Sport;pspikes2 ",
    "Pulstar                                      ;1995;Aicom                       ;Shooter;pulstar  ",
    "Puzzle Bobble                                ;1994;Taito                       ;Puzzle;pbobble  ",
    "Puzzle De Pon!                               ;1995;Taito                       ;Puzzle;puzzledp ",
    "Quantum Puzzle                               ;    ;                            ;;qp       ",
    "Quest of Jongmaster                          ;1994;Aicom                       ;Puzzle;janshin  ",
    "Quiz Daisousa Sen                            ;1991;SNK                         ;Puzzle;quizds   ",
    "Quiz King of Fighters                        ;1995;Saurus                      ;Puzzle;quizkof  ",
    "Quiz Meitantei                               ;1992;SNK                         ;Puzzle;quizmng  ",
    "Ragnagard                                    ;1996;Saurus                      ;Fighting;ragnagrd ",
    "Rally Chase                                  ;    ;ADK                         ;Racing;rchase   ",
    "Real Bout Fatal Fury                         ;1995;SNK                         ;Fighting;rffury   ",
    "Real Bout Fatal Fury 2                       ;1998;SNK                         ;Fighting;rffury2  ",
    "Real Bout Fatal Fury Special                 ;1997;SNK                         ;Fighting;rffurysp ",
    "Riding Hero                                  ;1990;SNK                         ;Racing;ridhero  ",
    "Road Edge                                    ;    ;SNK                         ;Racing;redge    ",
    "Robo Army                                    ;1991;SNK                         ;Arcade;ararmy   ",
    "Ronin Kids 2                                 ;    ;                            ;;rnk2     ",
    "Samurai Showdown  (Samurai Spirit)           ;1993;SNK                         ;Fighting;samsho   ",
    "Samurai Showdown II  (Shin Samurai Spirit)   ;1994;SNK                         ;Fighting;samsho2  ",
    "Samurai Showdown III  (Zankurou Musouken)    ;1995;SNK                         ;Fighting;samsho3  ",
    "Samurai Showdown IV  (Amakusa's Revenge)     ;1996;SNK                         ;Fighting;samsho4  ",
    "Samurai Showdown Warriors Rage               ;1998;SNK                         ;3D;samsho64 ",
    "Samurai Spirits RPG                          ;1997;SNK                         ;RPG;samshrpg ",
    "Savage Reign                                 ;1995;SNK                         ;Fighting;sreign   ",
    "Savage Reign 2                               ;    ;SNK                         ;Fighting;sreign2  ",
    "Sengoku                                      ;1991;SNK                         ;Arcade;sengoku  ",
    "Sengoku 2                                    ;1993;SNK                         ;Arcade;sengoku2 ",
    "Shock Troopers                               ;1997;Saurus                      ;Shooter;strooper ",
    "Soccer Brawl                                 ;1991;SNK                         ;Sport;socbrawl ",
    "Spin Master                                  ;1993;Data East                   ;Platform;smaster  ",
    "Stakes Winner                                ;1995;Saurus                      ;Racing;swinner  ",
    "Stakes Winner 2 (GI Kanzen Seiha e no Michi) ;1996;Saurus                      ;Racing;swinner2 ",
    "Street Hoop                                  ;1994;Data East                   ;Sport;shoop    ",
    "Super Dodge Ball                             ;1996;Technos                     ;Sport;sdodge   ",
    "Super Sidekicks                              ;1992;SNK                         ;Sport;sidkicks ",
    "Super Sidekicks 2                            ;1994;SNK                         ;Sport;ssidek2  ",
    "Super Sidekicks 3                            ;1995;SNK                         ;Sport;ssidek3  ",
    "Super Sidekicks 4                            ;1996;SNK                         ;Sport;ssidek4  ",
    "Super Spy                                    ;1990;SNK                         ;Arcade;superspy ",
    "Super Volleyball                             ;1990;Video System                ;Sport;svolley  ",
    "Thrash Rally                                 ;1991;ADK                         ;Racing;trally   ",
    "Top Hunter                                   ;1994;SNK                         ;Platform;tophuntr ",
    "Top Player's Golf                            ;1990;SNK                         ;Sport;tpgolf   ",
    "Turf Masters                                 ;1996;Nazca?                      ;Sport;tmaster  ",
    "Twinkle Star Sprites                         ;1996;ADK                         ;Shooter;tssprite ",
    "Viewpoint                                    ;1992;Sammy                       ;Shooter;viewpoin ",
    "Vortex Fighter                               ;1995;Sammy                       ;Fighting;vfighter ",
    "Waku Waku 7                                  ;1996;Sunsoft                     ;Fighting;waku7    ",
    "Wanderer                                     ;    ;                            ;;wand     ",
    "Windjammers                                  ;1994;Data East                   ;Sport;wjammers ",
    "World Cup Volleyball                         ;    ;Video System                ;Sport;wcvolley ",
    "World Heroes                                 ;1992;ADK                         ;Fighting;wheroes  ",
    "World Heroes 2                               ;1993;ADK                         ;Fighting;wheroes2 ",
    "World Heroes 2 Jet                           ;1994;ADK                         ;Fighting;weroes2j ",
    "World Heroes Perfect                         ;1995;ADK                         ;Fighting;wheroesp ",
    "World Heroes Perfect 2                       ;    ;ADK                         ;Fighting;weroesp2 ",
    "World Soccer '96                            ;1995;NMK                         ;Sport;tws96",
    "Zed Blade                                    ;1994;NMK                         ;Shooter;zblade   ",
    "Zentrix                                      ;    ;                            ;Sport;zentrix  ",
    "Zupapa!                                      ;    ;                            ;Platform;zupapa   ",
};

QList<QByteArray> buildDefaultLines()
{
    QList<QByteArray> lines;
    lines.reserve(qsizetype(std::size(kGameLines)));
    for (const char *line : kGameLines)
        lines.append(QByteArray(line));
    return lines;
}

} // namespace

const QList<QByteArray> &DefaultGameLines()
{
    static const QList<QByteArray> lines = buildDefaultLines();
    return lines;
}

int WordSortCompare(const QByteArray &a, const QByteArray &b)
{
    return compareWordSort(displayText(a), displayText(b));
}

void FillDefaultGames(QList<QByteArray> &List)
{
    for (const QByteArray &line : DefaultGameLines())
        List.append(line);
    std::stable_sort(List.begin(), List.end(), [](const QByteArray &a, const QByteArray &b) {
        return WordSortCompare(a, b) < 0;
    });
}

} // namespace Lanvo
