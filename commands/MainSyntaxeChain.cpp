#include "commands/MainSyntaxeChain.h"

#include <algorithm>
#include <vector>

#include "expression/ChainIndex.h"
#include "analysis/synDetectSetTo.h"
#include "analysis/synDetectTest.h"
#include "core/Encoding.h"
#include "core/MainDivers.h"
#include "core/MainTriInfo.h"
#include "signatures/strFonctionsGeneral.h"
#include "special/synFonctionsSpeciales.h"

namespace lintaro {

namespace {

using enum Checker;
using namespace code;

constexpr Expansion T = Expansion::kTribunal;
constexpr Expansion B = Expansion::kBloodmoon;
// The animation group of "PlayGroup": "other objects", no report label.
constexpr int kGroupeAnimation = 62;

// clang-format off
constexpr ChainEntry kChain[] = {
    // Assignments, then the block keywords with a test.
    {"Set", kSetTo, {}},
    {"If", kTest, {}},
    {"ElseIf", kTest, {}},
    {"While", kTest, {}},
    // Block keywords without a test.
    {"Else", kFonctionSeule, {}},
    {"Endif", kFonctionSeule, {}},
    {"EndWhile", kFonctionSeule, {}},
    // The "End" step.
    {"End", kFonc_optID_choiceApp, {.caller = OBJET, .called = NOM_DU_SCRIPT, .choice = 0}, {}, true},
    {"End", kFonctionSeule, {}, {}, true},
    {"Return", kFonctionSeule, {}},

    // Commands with arguments of their own, each named after its command word.
    {"MessageBox", kMessageBox, {}},
    {"PlaceAtPC", kPlaceAtPC, {}},
    {"FadeTo", kFadeTo, {}},
    {"Choice", kChoice, {}},
    {"ModRegion", kModRegion, {}},
    {"Position", kPosition, {}},
    {"PositionCell", kPositionCell, {}},
    {"Say", kSay, {}},
    {"PlaySoundVP", kPlaySoundVP, {}},
    {"PlaySound3DVP", kPlaySound3DVP, {}},
    {"PlayLoopSound3DVP", kPlayLoopSound3DVP, {}},
    {"ModPCFacRep", kModPCFacRep, {}},
    {"SetPCFacRep", kSetPCFacRep, {}},
    {"LoopGroup", kLoopGroup, {}},
    {"Journal", kJournal, {}},
    {"AIActivate", kAIActivate, {}},
    {"AIEscort", kAIEscort, {}},
    {"AIEscortCell", kAIEscortCell, {}},
    {"AIFollow", kAIFollow, {}},
    {"AIFollowCell", kAIFollowCell, {}},
    {"AITravel", kAITravel, {}},
    {"AIWander", kAIWander, {}},

    // Base game, part one.
    {"EnableInventoryMenu", kFonctionSeule, {}},
    {"EnableMagicMenu", kFonctionSeule, {}},
    {"EnableMapMenu", kFonctionSeule, {}},
    {"EnableStatsMenu", kFonctionSeule, {}},
    {"EnableBirthMenu", kFonctionSeule, {}},
    {"EnableClassMenu", kFonctionSeule, {}},
    {"EnableNameMenu", kFonctionSeule, {}},
    {"EnableRaceMenu", kFonctionSeule, {}},
    {"EnableStatReviewMenu", kFonctionSeule, {}},
    {"EnableLevelUp", kFonctionSeule, {}},
    {"EnableRest", kFonctionSeule, {}},
    {"EnablePlayerControls", kFonctionSeule, {}},
    {"EnablePlayerFighting", kFonctionSeule, {}},
    {"EnablePlayerJumping", kFonctionSeule, {}},
    {"EnablePlayerLooking", kFonctionSeule, {}},
    {"EnablePlayerMagic", kFonctionSeule, {}},
    {"EnablePlayerViewSwitch", kFonctionSeule, {}},
    {"EnableVanityMode", kFonctionSeule, {}},
    {"DisablePlayerControls", kFonctionSeule, {}},
    {"DisablePlayerFighting", kFonctionSeule, {}},
    {"DisablePlayerJumping", kFonctionSeule, {}},
    {"DisablePlayerLooking", kFonctionSeule, {}},
    {"DisablePlayerMagic", kFonctionSeule, {}},
    {"DisablePlayerViewSwitch", kFonctionSeule, {}},
    {"DisableVanityMode", kFonctionSeule, {}},
    {"EnableTeleporting", kFonctionSeule, {}},
    {"DisableTeleporting", kFonctionSeule, {}},

    // Tribunal, first run.
    {"EnableLevitation", kFonctionSeule, {}, T},
    {"DisableLevitation", kFonctionSeule, {}, T},

    // Base game, part two.
    {"Enable", kFonctionSeule_OptCall, {.caller = OBJET}},
    {"Disable", kFonctionSeule_OptCall, {.caller = OBJET}},
    {"Activate", kFonc_optID_choiceApp, {.caller = OBJET, .called = PERSONNE, .choice = 1}},
    {"Activate", kFonctionSeule_OptCall, {.caller = OBJET}},
    {"AddItem", kFoncIDshort_choiceApp, {.caller = CONTENANT, .called = CONTENU, .choice = 1}},
    {"AddSoulGem", kFoncIDID_choiceApp, {.caller = CONTENANT, .called = CREATURE, .second = MISC, .choice = 1}},
    {"AddSpell", kFoncIDApp, {.caller = PERSONNE, .called = SORT}},
    {"AddTopic", kFoncIDApp, {.caller = PERSONNE, .called = TOPIC}},
    {"Cast", kFoncIDID_choiceApp, {.caller = OBJET, .called = SORT, .second = OBJET, .choice = 1}},
    {"CellUpdate", kFoncBroken, {}},
    {"CenterOnCell", kFoncID, {.called = CELLULE}},
    {"Coc", kFoncID, {.called = CELLULE}},
    {"CenterOnExterior", kFoncShortShort_choiceApp, {.caller = OBJET, .choice = 0}},
    {"Coe", kFoncShortShort_choiceApp, {.caller = OBJET, .choice = 0}},
    {"ChangeWeather", kFoncIDshort_choiceApp, {.caller = OBJET, .called = REGION, .choice = 0}},
    {"ClearForceSneak", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"ClearInfoActor", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"DontSaveObject", kFonctionSeule, {}},
    {"DropSoulGem", kFoncIDApp, {.caller = CONTENANT, .called = MISC}},
    {"Drop", kFoncIDshort_choiceApp, {.caller = CONTENANT, .called = CONTENU, .choice = 1}},
    {"Face", kFoncShortShort_choiceApp, {.caller = PERSONNE, .choice = 1}},
    {"FadeIn", kFoncValFloat_choiceApp, {.caller = OBJET, .choice = 0}},
    {"FadeOut", kFoncValFloat_choiceApp, {.caller = OBJET, .choice = 0}},
    {"Fall", kFoncUndocumented, {}},
    {"FixMe", kFonctionSeule, {}},
    {"ForceGreeting", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"ForceSneak", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GoodBye", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"GoToJail", kFonctionSeule, {}},
    {"HurtStandingActor", kFoncValFloat_choiceApp, {.caller = OBJET, .choice = 1}},
    {"Lock", kFoncValShortApp, {.caller = PORTE_OU_COFFRE}},
    {"LowerRank", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"MenuTest", kFonctionSeule, {}},
    {"ModFactionReaction", kFoncIDIDshort, {.called = FACTION, .second = FACTION}},
    {"Move", kFoncAxeFloat, {.caller = OBJET}},
    {"MoveWorld", kFoncAxeFloat, {.caller = OBJET}},
    {"PayFineThief", kFonctionSeule, {}},
    {"PayFine", kFonctionSeule, {}},
    {"PCClearExpelled", kFonc_optID_choiceApp, {.caller = OBJET, .called = FACTION, .choice = 0}},
    {"PCClearExpelled", kFonctionSeule, {}},
    {"PCExpell", kFonc_optID_choiceApp, {.caller = OBJET, .called = FACTION, .choice = 0}},
    {"PCExpell", kFonctionSeule, {}},
    {"PCForce3rdPerson", kFonctionSeule, {}},
    {"PCForce1stPerson", kFonctionSeule, {}},
    {"PCJoinFaction", kFonc_optID_choiceApp, {.caller = OBJET, .called = FACTION, .choice = 0}},
    {"PCJoinFaction", kFonctionSeule, {}},
    {"PCLowerRank", kFonc_optID_choiceApp, {.caller = OBJET, .called = FACTION, .choice = 0}},
    {"PCLowerRank", kFonctionSeule, {}},
    {"PCRaiseRank", kFonc_optID_choiceApp, {.caller = OBJET, .called = FACTION, .choice = 0}},
    {"PCRaiseRank", kFonctionSeule, {}},
    {"PlayBink", kFoncIDshort_choiceApp, {.caller = OBJET, .called = FICHIER, .choice = 0}},
    {"PlayGroup", kFoncID_optShort_choiceApp, {.caller = PERSONNE, .called = kGroupeAnimation, .choice = 1}},
    {"PlaySound", kFoncID, {.called = SON}},
    {"PlaySound3D", kFoncIDApp, {.caller = OBJET, .called = SON}},
    {"PlayLoopSound3D", kFoncIDApp, {.caller = OBJET, .called = SON}},
    {"RaiseRank", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"RemoveEffects", kFoncValShortApp, {.caller = PERSONNE}},
    {"RemoveItem", kFoncIDshort_choiceApp, {.caller = CONTENANT, .called = CONTENU, .choice = 1}},
    {"RemoveSoulGem", kFoncIDApp, {.caller = CONTENANT, .called = CREATURE}},
    {"RemoveSpell", kFoncIDApp, {.caller = PERSONNE, .called = SORT}},
    {"RemoveSpellEffects", kFoncIDApp, {.caller = PERSONNE, .called = SORT}},
    {"Resurrect", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"Rotate", kFoncAxeFloat, {.caller = OBJET}},
    {"RotateWorld", kFoncAxeFloat, {.caller = OBJET}},
    {"SetAngle", kFoncAxeFloat, {.caller = OBJET}},
    {"SetAtStart", kFonctionSeule_OptCall, {.caller = OBJET}},
    {"SetFactionReaction", kFoncIDIDshort, {.called = FACTION, .second = FACTION}},
    {"SetJournalIndex", kFoncIDshort_choiceApp, {.caller = OBJET, .called = QUETE, .choice = 0}},
    {"SetPos", kFoncAxeFloat, {.caller = OBJET}},
    {"ShowMap", kFoncID, {.called = CELLULE}},
    {"ShowRestMenu", kFonctionSeule, {}},
    {"SkipAnim", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"StartCombat", kFoncIDApp, {.caller = PERSONNE, .called = PERSONNE}},
    {"StartScript", kFoncID, {.called = SCRIPT}},
    {"StopCombat", kFonctionSeule_OptCall, {.caller = PERSONNE}},
    {"StopScript", kFoncID, {.called = SCRIPT}},
    {"StopSound", kFoncID, {.called = SON}},
    {"StreamMusic", kFoncID, {.called = FICHIER}},
    {"Unlock", kFonctionSeule_OptCall, {.caller = PORTE_OU_COFFRE}},
    {"WakeUpPC", kFonctionSeule, {}},
    // Statistics of actors, and of the player and the world.
    {"ModAcrobatics", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModAgility", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModAlarm", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModAlchemy", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModAlteration", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModArmorBonus", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModArmorer", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModAthletics", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModAttackBonus", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModAxe", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModBlindness", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModBlock", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModBluntWeapon", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModCastPenalty", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModChameleon", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModConjuration", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModCurrentFatigue", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModCurrentHealth", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModCurrentMagicka", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModDefendBonus", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModDestruction", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModDisposition", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModEnchant", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModEndurance", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModFatigue", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModFight", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModFlee", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModFlying", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModHandToHand", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModHealth", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModHeavyArmor", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModHello", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModIllusion", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModIntelligence", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModInvisible", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModInvisibile", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModLightArmor", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModLongBlade", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModLuck", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModMarksman", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModMediumArmor", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModMagicka", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModMercantile", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModMysticism", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModParalysis", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModPCCrimeLevel", kFoncValShortStat, {}},
    {"ModPCVisionBonus", kFoncValShortStat, {}},
    {"ModPersonality", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModReputation", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModResistBlight", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModResistCorprus", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModResistDisease", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModResistFire", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModResistFrost", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModResistMagicka", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModResistNormalWeapons", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModResistParalysis", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModResistPoison", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModResistShock", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModRestoration", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModSecurity", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModShortBlade", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModSilence", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModSneak", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModSpear", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModSpeechCraft", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModSpeed", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModStrength", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModSuperJump", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModSwimSpeed", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModUnarmored", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModWaterBreathing", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModWaterWalking", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"ModWillPower", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetAcrobatics", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetAgility", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetAlarm", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetAlchemy", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetAlteration", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetArmorBonus", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetArmorer", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetAthletics", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetAttackBonus", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetAxe", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetBlindness", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetBlock", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetBluntWeapon", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetCastPenalty", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetChameleon", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetConjuration", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetDefendBonus", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetDestruction", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetDisposition", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetEnchant", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetEndurance", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetFatigue", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetFight", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetFlee", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetFlying", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetHandToHand", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetHealth", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetHeavyArmor", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetHello", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetIllusion", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetIntelligence", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetInvisible", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetInvisibile", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetLevel", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetLightArmor", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetLongBlade", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetLuck", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetMarksman", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetMediumArmor", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetMagicka", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetMercantile", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetMysticism", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetParalysis", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetPCCrimeLevel", kFoncValShortStat, {}},
    {"SetPCVisionBonus", kFoncValShortStat, {}},
    {"SetPersonality", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetReputation", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetResistBlight", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetResistCorprus", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetResistDisease", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetResistFire", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetResistFrost", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetResistMagicka", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetResistNormalWeapons", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetResistParalysis", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetResistPoison", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetResistShock", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetRestoration", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetSecurity", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetShortBlade", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetSilence", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetSneak", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetSpear", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetSpeechCraft", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetSpeed", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetStrength", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetSuperJump", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetSwimSpeed", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetUnarmored", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetWaterBreathing", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetWaterWalking", kFoncValShortStatApp, {.caller = PERSONNE}},
    {"SetWillPower", kFoncValShortStatApp, {.caller = PERSONNE}},

    // Tribunal, second run.
    {"PlaceItem", kPlaceItem, {}, T},
    {"PlaceItemCell", kPlaceItemCell, {}, T},
    {"AddToLevCreature", kFoncIDIDshort, {.called = LEVELED_CREATURE, .second = CREATURE}, T},
    {"AddToLevItem", kFoncIDIDshort, {.called = LEVELED_ITEM, .second = OBJET}, T},
    {"ClearForceJump", kFonctionSeule_OptCall, {.caller = PERSONNE}, T},
    {"ClearForceMoveJump", kFonctionSeule_OptCall, {.caller = PERSONNE}, T},
    {"ClearForceRun", kFonctionSeule_OptCall, {.caller = PERSONNE}, T},
    {"Equip", kFoncIDApp, {.caller = PERSONNE, .called = OBJET_EQUIPABLE}, T},
    {"ExplodeSpell", kFoncIDApp, {.caller = PERSONNE, .called = SORT}, T},
    {"ForceJump", kFonctionSeule_OptCall, {.caller = PERSONNE}, T},
    {"ForceMoveJump", kFonctionSeule_OptCall, {.caller = PERSONNE}, T},
    {"ForceRun", kFonctionSeule_OptCall, {.caller = PERSONNE}, T},
    {"HurtCollidingActor", kFoncValFloat_choiceApp, {.caller = OBJET, .choice = 1}, T},
    {"RemoveFromLevCreature", kFoncIDIDshort, {.called = LEVELED_CREATURE, .second = CREATURE}, T},
    {"RemoveFromLevItem", kFoncIDIDshort, {.called = LEVELED_ITEM, .second = OBJET}, T},
    {"SetDelete", kFoncValShortApp, {.caller = OBJET}, T},
    {"ModScale", kFoncValShortStatApp, {.caller = PERSONNE}, T},
    {"ModWaterLevel", kFoncValShortStat, {}, T},
    {"SetScale", kFoncValShortStatApp, {.caller = PERSONNE}, T},
    {"SetWaterLevel", kFoncValShortStat, {}, T},

    // Bloodmoon.
    {"BecomeWerewolf", kFonctionSeule_OptCall, {.caller = PERSONNE}, B},
    {"PlaceAtMe", kPlaceAtMe, {}, B},
    {"SetWerewolfAcrobatics", kFoncUndocumented, {}, B},
    {"TurnMoonRed", kFonctionSeule, {}, B},
    {"TurnMoonWhite", kFonctionSeule, {}, B},
    {"UndoWerewolf", kFonctionSeule_OptCall, {.caller = PERSONNE}, B},
};
// clang-format on

const ChainIndex& chainIndex() {
  static const ChainIndex index(kChain);
  return index;
}

}  // namespace

std::span<const ChainEntry> commandChain() {
  return kChain;
}

void runEntry(CheckContext& ctx, const ChainEntry& e, std::string& line, int* lineHandled,
              int lineIndex) {
  const ChainArgs& a = e.args;
  switch (e.checker) {
    case kSetTo:
      synDetectSetTo(ctx, line, lineHandled, lineIndex);
      break;
    case kTest:
      synDetectTEST(ctx, e.name, line, lineHandled, lineIndex);
      break;
    case kFonctionSeule:
      strFonctionSeule(ctx, e.name, line, lineHandled, lineIndex);
      break;
    case kFonctionSeule_OptCall:
      strFonctionSeule_OptCall(ctx, e.name, line, lineHandled, lineIndex, a.caller);
      break;
    case kFoncUndocumented:
      strFoncUndocumented(ctx, e.name, line, lineHandled, lineIndex);
      break;
    case kFoncBroken:
      strFoncBroken(ctx, e.name, line, lineHandled, lineIndex);
      break;
    case kFoncIDApp:
      strFoncIDApp(ctx, e.name, a.caller, a.called, line, lineHandled, lineIndex);
      break;
    case kFoncID:
      strFoncID(ctx, e.name, a.called, line, lineHandled, lineIndex);
      break;
    case kFonc_optID_choiceApp:
      strFonc_optID_choiceApp(ctx, e.name, a.caller, a.called, a.choice, line, lineHandled,
                              lineIndex);
      break;
    case kFoncIDID_choiceApp:
      strFoncIDID_choiceApp(ctx, e.name, line, a.caller, a.called, a.second, a.choice, lineHandled,
                            lineIndex);
      break;
    case kFoncValShortApp:
      strFoncValShortApp(ctx, e.name, a.caller, line, lineHandled, lineIndex);
      break;
    case kFoncValShort:
      strFoncValShort(ctx, e.name, line, lineHandled, lineIndex);
      break;
    case kFoncValShortStatApp:
      strFoncValShortStatApp(ctx, e.name, a.caller, line, lineHandled, lineIndex, ctx.tribunal,
                             ctx.bloodmoon);
      break;
    case kFoncValShortStat:
      strFoncValShortStat(ctx, e.name, line, lineHandled, lineIndex, ctx.tribunal, ctx.bloodmoon);
      break;
    case kFoncValFloat_choiceApp:
      strFoncValFloat_choiceApp(ctx, e.name, a.caller, a.choice, line, lineHandled, lineIndex);
      break;
    case kFoncShortShort_choiceApp:
      strFoncShortShort_choiceApp(ctx, e.name, a.caller, a.choice, line, lineHandled, lineIndex);
      break;
    case kFoncIDshort_choiceApp:
      strFoncIDshort_choiceApp(ctx, e.name, a.caller, a.called, a.choice, line, lineHandled,
                               lineIndex);
      break;
    case kFoncID_optShort_choiceApp:
      strFoncID_optShort_choiceApp(ctx, e.name, line, a.caller, a.called, a.choice, lineHandled,
                                   lineIndex);
      break;
    case kFoncIDIDshort:
      strFoncIDIDshort(ctx, e.name, line, a.called, a.second, lineHandled, lineIndex);
      break;
    case kFoncAxe:
      strFoncAxe(ctx, e.name, a.caller, line, lineHandled, lineIndex);
      break;
    case kFoncAxeFloat:
      strFoncAxeFloat(ctx, e.name, a.caller, line, lineHandled, lineIndex, ctx.tribunal);
      break;
    case kMessageBox:
      synDetectMessageBox(ctx, line, lineHandled, lineIndex);
      break;
    case kChoice:
      synDetectChoice(ctx, line, lineHandled, lineIndex);
      break;
    case kSay:
      synDetectSay(ctx, line, lineHandled, lineIndex);
      break;
    case kPlaceAtMe:
      synDetectPlaceAtMe(ctx, line, lineHandled, lineIndex);
      break;
    case kPlaceAtPC:
      synDetectPlaceAtPC(ctx, line, lineHandled, lineIndex);
      break;
    case kPosition:
      synDetectPosition(ctx, line, lineHandled, lineIndex);
      break;
    case kPositionCell:
      synDetectPositionCell(ctx, line, lineHandled, lineIndex);
      break;
    case kPlaceItem:
      synDetectPlaceItem(ctx, line, lineHandled, lineIndex);
      break;
    case kPlaceItemCell:
      synDetectPlaceItemCell(ctx, line, lineHandled, lineIndex);
      break;
    case kFadeTo:
      synDetectFadeTo(ctx, line, lineHandled, lineIndex);
      break;
    case kModRegion:
      synDetectModRegion(ctx, line, lineHandled, lineIndex);
      break;
    case kPlaySoundVP:
      synDetectPlaySoundVP(ctx, line, lineHandled, lineIndex);
      break;
    case kPlaySound3DVP:
      synDetectPlaySound3DVP(ctx, line, lineHandled, lineIndex);
      break;
    case kPlayLoopSound3DVP:
      synDetectPlayLoopSound3DVP(ctx, line, lineHandled, lineIndex);
      break;
    case kLoopGroup:
      synDetectLoopGroup(ctx, line, lineHandled, lineIndex);
      break;
    case kModPCFacRep:
      synDetectModPCFacRep(ctx, line, lineHandled, lineIndex);
      break;
    case kSetPCFacRep:
      synDetectSetPCFacRep(ctx, line, lineHandled, lineIndex);
      break;
    case kJournal:
      synDetectJournal(ctx, line, lineHandled, lineIndex);
      break;
    case kAIActivate:
      synDetectAIActivate(ctx, line, lineHandled, lineIndex);
      break;
    case kAIEscort:
      synDetectAIEscort(ctx, line, lineHandled, lineIndex);
      break;
    case kAIEscortCell:
      synDetectAIEscortCell(ctx, line, lineHandled, lineIndex);
      break;
    case kAIFollow:
      synDetectAIFollow(ctx, line, lineHandled, lineIndex);
      break;
    case kAIFollowCell:
      synDetectAIFollowCell(ctx, line, lineHandled, lineIndex);
      break;
    case kAITravel:
      synDetectAITravel(ctx, line, lineHandled, lineIndex);
      break;
    case kAIWander:
      synDetectAIWander(ctx, line, lineHandled, lineIndex);
      break;
  }
}

bool runCommandChain(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex) {
  // Reused from line to line; the checkers that run tables of their own from
  // inside the chain (the expression checker) use their own lists.
  thread_local std::vector<std::uint16_t> candidates;
  const ChainEntry* claim = runIndexed(ctx, chainIndex(), line, lineHandled, lineIndex, candidates);
  if (claim == nullptr) return false;
  expansionError(ctx, *claim, lineIndex, kSyntaxeJournalFailure);
  return claim->endStep;
}

bool runCommandChainInOrder(CheckContext& ctx, std::string& line, int* lineHandled, int lineIndex) {
  if (*lineHandled != 0) return false;
  const ChainEntry* claim = runInOrder(ctx, kChain, line, lineHandled, lineIndex);
  if (claim == nullptr) return false;
  expansionError(ctx, *claim, lineIndex, kSyntaxeJournalFailure);
  return claim->endStep;
}

}  // namespace lintaro
