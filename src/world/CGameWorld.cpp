#include "world/CGameWorld.h"

#include "engine/CGameEngine.h"
#include "game/Types.h"
#include "graphics/CSpriteSheet.h"
#include "graphics/Shapes.h"
#include "opponent/Search.h"
#include "sound/CSound.h"
#include "sound/CSoundManager.h"
#include "text/CFontManager.h"
#include "text/CTextureFont.h"

#include <GL/gl.h>
#include <cassert>
#include <cmath>
#include <cstdio>

namespace {

// The board is laid out for a 1024 by 768 drawing space whatever the window.
const int   kScreenHeight = 768;
const float kScreenCentreX = 512.0f;
const float kScreenCentreY = 384.0f;

// Board geometry: neighbouring centres are kCellSpacing apart in a row and
// between rows alike, so rows are spacing * tan(60 deg) / 2 apart.
const float kCellSpacing = 170.0f;
const float kRowSpacing = 0.5f * kCellSpacing * tanf(1.0471976f);
const float kCellRadius = 60.0f;
const float kCellRadiusSq = kCellRadius * kCellRadius;   // picking is strict: below this
const float kCellInnerRadius = kCellRadius * 0.9f;
const float kHighlightRadius = kCellRadius * 1.1f;
const float kHighlightWidth = 5.0f;

// Dragging away from a cell: one more token for every kDragStep beyond its rim.
const double kDragStep = 24.8;
const unsigned kMaxCellTokens = 255;   // a cell's count is 8-bit

// Gold's stock doubles as the pass button; Silver's stock mirrors it.
const float kGoldStockX = 130.0f, kGoldStockY = 130.0f;
const float kSilverStockX = 894.0f, kSilverStockY = 130.0f;
const float kStockRingRadius = 60.0f;
const float kStockRingWidth = 3.0f;

// Token stacks: nine around an inner ring, the tenth on the centre, the rest
// on an outer ring offset by half a step so they show between the inner ones.
const float kInnerRingRadius = 25.0f;
const float kOuterRingRadius = 25.0f + 2.0f * 8.0f + 3.0f;
const int   kInnerRingPlaces = 9;

// Pauses before the opponent replies, so the player sees what happened.
const uint32_t kDelayAfterPlacement = 500;
const uint32_t kDelayAfterPass = 400;

const uint8_t kNoCell = 255;

enum LabelColour { LABEL_WHITE, LABEL_GOLD, LABEL_SILVER };

enum Sound { SOUND_HOVER = 0, SOUND_PLACE = 1, SOUND_GAME_OVER = 2, SOUND_PASS = 3 };

enum Sprite : unsigned { SPRITE_SILVER_TOKEN = 0, SPRITE_GOLD_TOKEN = 1, SPRITE_BACKGROUND = 2 };

// Menu entries: hit rectangles start one unit right of and above their labels.
enum MenuEntry { MENU_NONE = -1, MENU_VERY_EASY = 1, MENU_EASY, MENU_NORMAL, MENU_HARD, MENU_EXIT };

struct Difficulty
{
    int entry;
    int yMin, yMax;     // drawing units, inclusive
    int searchDepth;
    int evalNoise;
};

// Shallow and noisy at the bottom, deep and exact at the top.
const Difficulty kDifficulties[] = {
    { MENU_VERY_EASY, 451, 484, 1, 6 },
    { MENU_EASY,      414, 447, 1, 4 },
    { MENU_NORMAL,    377, 410, 2, 2 },
    { MENU_HARD,      340, 373, 4, 0 },
};
const int kDifficultyXMin = 131, kDifficultyXMax = 289;
const int kExitXMin = 91, kExitXMax = 149, kExitYMin = 290, kExitYMax = 323;

const float kGoldColour[3] = { 216.0f / 255.0f, 178.0f / 255.0f, 120.0f / 255.0f };
const float kSilverGrey = 0.7f;

void PlaySound(int id)
{
    CSoundManager::GetInstance()->GetSound(id)->Play();
}

void SetGold(float alpha) { glColor4f(kGoldColour[0], kGoldColour[1], kGoldColour[2], alpha); }
void SetSilver(float alpha) { glColor4f(kSilverGrey, kSilverGrey, kSilverGrey, alpha); }
void SetWhite() { glColor4f(1.0f, 1.0f, 1.0f, 1.0f); }

const Difficulty* DifficultyAt(const CVector2& p)
{
    if (p.x < kDifficultyXMin || p.x > kDifficultyXMax)
        return nullptr;
    for (const Difficulty& d : kDifficulties)
        if (p.y >= d.yMin && p.y <= d.yMax)
            return &d;
    return nullptr;
}

bool IsOnExit(const CVector2& p)
{
    return p.x >= kExitXMin && p.x <= kExitXMax && p.y >= kExitYMin && p.y <= kExitYMax;
}

bool IsOnPassButton(const CVector2& p)
{
    const float dx = p.x - kGoldStockX, dy = p.y - kGoldStockY;
    return dx * dx + dy * dy < kStockRingRadius * kStockRingRadius;
}

} // namespace

CGameWorld::CGameWorld(CGameEngine* engine)
    : m_GameEngine(engine)
    , m_Delay(0)
    , m_GameState(3, 2)
    , m_DragCount(1)
    , m_SelRow(0)
    , m_SelCol(0)
    , m_SelTeam(kNoTeam)
    , m_Dragging(false)
    , m_PassHover(false)
    , m_Mode(MODE_MENU)
    , m_MenuHover(MENU_NONE)
    , m_Font(nullptr)
    , m_FontFetched(false)
{
    assert(m_GameEngine);
}

CGameWorld::~CGameWorld()
{
    assert(m_GameEngine);
}

void CGameWorld::Reset()
{
    assert(m_GameEngine);
    m_GameState.Reset();
    ClearSelection();
}

void CGameWorld::SetState(const CGameState& state)
{
    m_GameState = state;
    ClearSelection();
    m_PassHover = false;
}

// ---------------------------------------------------------------------------
// Layout

CVector2 CGameWorld::GetBoardOrigin() const
{
    const float spread = static_cast<float>(m_GameState.GetNumRows() - 1);
    return CVector2(kScreenCentreX - spread * kCellSpacing * 0.5f,
                    kScreenCentreY - spread * kRowSpacing * 0.5f);
}

CVector2 CGameWorld::GetCellCenter(uint32_t row, uint32_t col) const
{
    const CVector2 origin = GetBoardOrigin();
    return CVector2(origin.x + (static_cast<float>(col) + m_GameState.GetRowOffset(row)) * kCellSpacing,
                    origin.y + static_cast<float>(row) * kRowSpacing);
}

CVector2 CGameWorld::ToDrawing(Uint16 x, Uint16 y)
{
    return CVector2(static_cast<float>(x), static_cast<float>(kScreenHeight - static_cast<int>(y)));
}

// ---------------------------------------------------------------------------
// Keys and starting a game

void CGameWorld::OnKey(SDLKey sym, SDLMod mod, bool pressed)
{
    (void)mod;
    assert(m_GameEngine);
    if (!pressed || sym != SDLK_ESCAPE)
        return;
    if (m_Mode == MODE_MENU)
        m_GameEngine->Quit();
    else if (m_Mode == MODE_GAME)
        m_Mode = MODE_MENU;   // the game is left as it is until the next start
}

void CGameWorld::StartGame(int searchDepth, int evalNoise)
{
    m_Mode = MODE_GAME;
    g_searchDepth = searchDepth;
    g_evalNoise = evalNoise;
    assert(m_GameEngine);
    m_GameState.Reset();
    ClearSelection();
    m_MenuHover = MENU_NONE;
    PlaySound(SOUND_PLACE);
}

// ---------------------------------------------------------------------------
// Mouse

void CGameWorld::OnMouseMove(Uint16 x, Uint16 y)
{
    const CVector2 p = ToDrawing(x, y);
    if (m_Mode == MODE_MENU)
        OnMenuMove(p);
    else if (m_Mode == MODE_GAME)
        OnGameMove(p);
}

void CGameWorld::OnMouseButton(Uint8 button, bool pressed, Uint16 x, Uint16 y)
{
    const CVector2 p = ToDrawing(x, y);
    if (m_Mode == MODE_MENU)
        OnMenuButton(p);
    else if (m_Mode == MODE_GAME)
        OnGameButton(button, pressed, p);

    // The pass button's hover follows button events too, not only motion: a
    // click can hand the turn away or open the game screen without any
    // motion, and a lit "Pass" during Silver's turn or after the end would
    // offer a button that does nothing (the automatic pass clears it too).
    if (m_Mode == MODE_GAME)
        RefreshPassHover(p);
}

void CGameWorld::OnMenuMove(const CVector2& p)
{
    const int before = m_MenuHover;
    m_MenuHover = MENU_NONE;
    if (const Difficulty* d = DifficultyAt(p))
        m_MenuHover = d->entry;
    if (IsOnExit(p))
        m_MenuHover = MENU_EXIT;
    if (m_MenuHover != before)
        PlaySound(SOUND_HOVER);
}

void CGameWorld::OnMenuButton(const CVector2& p)
{
    // Any button, pressed or released, picks an entry.
    if (const Difficulty* d = DifficultyAt(p))
        StartGame(d->searchDepth, d->evalNoise);
    if (IsOnExit(p))
        m_GameEngine->Quit();
}

void CGameWorld::OnGameMove(const CVector2& p)
{
    if (IsGoldDragging() && !m_GameState.IsGameDone())
        UpdateDragCount(p);
    RefreshPassHover(p);
}

void CGameWorld::RefreshPassHover(const CVector2& p)
{
    m_PassHover = !m_GameState.IsGameDone() && m_GameState.GetCurTeam() == kGold &&
                  !m_Dragging && IsOnPassButton(p);
}

void CGameWorld::UpdateDragCount(const CVector2& p)
{
    const CVector2 centre = GetCellCenter(m_SelRow, m_SelCol);
    const double dx = static_cast<double>(p.x) - centre.x;
    const double dy = static_cast<double>(p.y) - centre.y;
    const double d = std::sqrt(dx * dx + dy * dy);
    if (d <= kCellRadius) {
        m_DragCount = 1;
        return;
    }
    // Far-away pointers (16-bit positions) give counts well beyond a cell's
    // 8-bit total; such counts are simply not legal, never wrapped.
    const long n = static_cast<long>((d - kCellRadius) / kDragStep + 1.0);
    const unsigned held = m_GameState.GetCellTokens(m_SelRow, m_SelCol);
    if (n == m_DragCount || held + n > kMaxCellTokens)
        return;
    if (!m_GameState.IsMoveLegal(m_SelRow, m_SelCol, static_cast<uint8_t>(held + n)))
        return;
    PlaySound(SOUND_HOVER);
    m_DragCount = static_cast<uint8_t>(n);
}

bool CGameWorld::PickCell(const CVector2& p, uint32_t& row, uint32_t& col) const
{
    for (uint32_t r = 0; r < m_GameState.GetNumRows(); ++r) {
        for (uint32_t c = 0; c < m_GameState.GetRowLength(r); ++c) {
            const CVector2 centre = GetCellCenter(r, c);
            const float dx = p.x - centre.x, dy = p.y - centre.y;
            if (dx * dx + dy * dy < kCellRadiusSq) {
                row = r;
                col = c;
                return true;
            }
        }
    }
    return false;
}

void CGameWorld::GoldPasses()
{
    // A pass ends any drag in progress; the cell it was aimed at was not played.
    if (m_Dragging)
        ClearSelection();
    m_Delay = kDelayAfterPass;
    m_GameState.Pass();
    PlaySound(m_GameState.IsGameDone() ? SOUND_GAME_OVER : SOUND_PASS);
}

void CGameWorld::OnGameButton(Uint8 button, bool pressed, const CVector2& p)
{
    const bool left = button == SDL_BUTTON_LEFT;
    const bool right = button == SDL_BUTTON_RIGHT;

    // A finished game: the next left press goes back to the menu.
    if (m_GameState.IsGameDone() && left && pressed)
        m_Mode = MODE_MENU;

    // Releasing the left button anywhere places the dragged tokens.
    if (!m_GameState.IsGameDone() && IsGoldDragging() && left && !pressed) {
        const uint8_t n = static_cast<uint8_t>(m_GameState.GetCellTokens(m_SelRow, m_SelCol) + m_DragCount);
        PlaySound(SOUND_PLACE);
        m_GameState.MakeMove(m_SelRow, m_SelCol, n);
        m_Delay = kDelayAfterPlacement;
        m_Dragging = false;   // the cell just played keeps its gold ring
    }

    // The right button cancels a drag.
    if (!m_GameState.IsGameDone() && IsGoldDragging() && right && pressed)
        ClearSelection();

    if (!(left && pressed) || m_GameState.GetCurTeam() != kGold || m_GameState.IsGameDone())
        return;

    // With nothing in hand Gold can only pass, wherever the click lands.
    if (m_GameState.GetTeamTokens(kGold) == 0) {
        ClearSelection();
        GoldPasses();
        return;
    }

    uint32_t row = 0, col = 0;
    if (PickCell(p, row, col)) {
        const uint8_t held = m_GameState.GetCellTokens(row, col);
        if (held < kMaxCellTokens && m_GameState.IsMoveLegal(row, col, static_cast<uint8_t>(held + 1))) {
            m_DragCount = 1;
            m_SelRow = static_cast<uint8_t>(row);
            m_SelCol = static_cast<uint8_t>(col);
            m_SelTeam = m_GameState.GetCurTeam();
            m_Dragging = true;
        }
        return;
    }

    // The pass button keeps the highlight of Silver's last placement.
    if (IsOnPassButton(p))
        GoldPasses();
}

void CGameWorld::ClearSelection()
{
    m_SelTeam = kNoTeam;
    m_Dragging = false;
}

bool CGameWorld::IsGoldDragging() const
{
    return m_Dragging && m_GameState.GetCurTeam() == kGold && m_SelTeam == kGold;
}

// ---------------------------------------------------------------------------
// Turns

void CGameWorld::Update(Uint32 elapsedMs)
{
    assert(m_GameEngine);
    if (m_Mode != MODE_GAME)
        return;   // on the menu time stands still

    if (m_Delay >= elapsedMs) {
        m_Delay -= elapsedMs;
        return;
    }
    m_Delay = 0;

    if (m_GameState.GetCurTeam() == kSilver && !m_GameState.IsGameDone())
        PlayOpponentTurn();

    // Gold with an empty stock has no placement: pass on the player's behalf.
    if (m_GameState.GetCurTeam() == kGold && !m_GameState.IsGameDone() &&
        m_GameState.GetTeamTokens(kGold) == 0) {
        ClearSelection();
        m_PassHover = false;   // the turn has gone; the button is no longer live
        m_GameState.Pass();
        if (m_GameState.IsGameDone())
            PlaySound(SOUND_GAME_OVER);
        m_Delay = kDelayAfterPass;
    }
}

void CGameWorld::PlayOpponentTurn()
{
    m_SelTeam = m_GameState.GetCurTeam();
    const OpponentMove move = FindMove(m_GameState, g_searchDepth, g_evalNoise);
    if (move.found) {
        if (!move.isPass) {
            m_SelRow = move.row;
            m_SelCol = move.col;
            m_GameState.MakeMove(m_SelRow, m_SelCol,
                                 static_cast<uint8_t>(m_GameState.GetCellTokens(m_SelRow, m_SelCol) + 1));
            PlaySound(SOUND_PLACE);
        } else {
            m_SelRow = kNoCell;
            m_SelCol = kNoCell;
            m_GameState.Pass();
            if (!m_GameState.IsGameDone())
                PlaySound(SOUND_PASS);
        }
        if (m_GameState.IsGameDone())
            PlaySound(SOUND_GAME_OVER);
    }
}

// ---------------------------------------------------------------------------
// Drawing

void CGameWorld::Draw()
{
    assert(m_GameEngine);
    glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);

    if (!m_FontFetched) {
        m_Font = CFontManager::GetInstance()->GetFont(0);
        m_FontFetched = true;
    }

    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glAlphaFunc(GL_GREATER, 0.1f);
    glEnable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);

    SetWhite();
    glTranslatef(kScreenCentreX, kScreenCentreY, 0.0f);
    CSpriteSheet::GetInstance()->GetSprite(SPRITE_BACKGROUND).Draw();

    if (m_Mode == MODE_MENU)
        DrawMenu();
    else if (m_Mode == MODE_GAME)
        DrawGame();

    glFlush();
}

void CGameWorld::DrawLabel(const char* text)
{
    if (m_Font)
        m_Font->DrawString(text);
}

void CGameWorld::DrawMenu()
{
    if (!m_Font)
        return;   // without a font the menu is the background alone

    glLoadIdentity();
    SetWhite();
    glTranslatef(467.0f, 718.0f, 0.0f);
    DrawLabel("VESK");

    glLoadIdentity();
    SetWhite();
    glTranslatef(90.0f, 500.0f, 0.0f);
    DrawLabel("New Game");

    // Each entry hangs below the previous one.
    struct Label { int entry; float dx, dy; const char* text; };
    static const Label labels[] = {
        { MENU_VERY_EASY, 40.0f, -50.0f, "Very Easy" },
        { MENU_EASY,       0.0f, -37.0f, "Easy" },
        { MENU_NORMAL,     0.0f, -37.0f, "Normal" },
        { MENU_HARD,       0.0f, -37.0f, "Hard" },
        { MENU_EXIT,     -40.0f, -50.0f, "Exit" },
    };
    for (const Label& l : labels) {
        glTranslatef(l.dx, l.dy, 0.0f);
        if (m_MenuHover == l.entry)
            glColor4f(1.0f, 0.0f, 0.0f, 1.0f);
        else
            SetWhite();
        DrawLabel(l.text);
    }
}

void CGameWorld::DrawGame()
{
    DrawBoard();
    DrawStocks();
    DrawHud();
}

void CGameWorld::DrawBoard()
{
    const CVector2 origin = GetBoardOrigin();
    const uint8_t nTeams = m_GameState.GetNumTeams();

    glLoadIdentity();
    glBindTexture(GL_TEXTURE_2D, 0);
    glTranslatef(origin.x, origin.y, 0.0f);
    for (uint32_t r = 0; r < m_GameState.GetNumRows(); ++r) {
        for (uint32_t c = 0; c < m_GameState.GetRowLength(r); ++c) {
            glPushMatrix();
            glTranslatef((static_cast<float>(c) + m_GameState.GetRowOffset(r)) * kCellSpacing,
                         static_cast<float>(r) * kRowSpacing, 0.0f);

            // A darker disc inside a lighter rim: two layers of the same shadow.
            glBindTexture(GL_TEXTURE_2D, 0);
            glColor4f(0.0f, 0.0f, 0.0f, 0.2f);
            DrawCircle(kCellRadius, true);
            DrawCircle(kCellInnerRadius, true);

            const uint8_t tokens = m_GameState.GetCellTokens(r, c);
            if (m_SelTeam < nTeams && r == m_SelRow && c == m_SelCol) {
                if (m_SelTeam == kGold)
                    SetGold(1.0f);
                else
                    SetSilver(1.0f);
                DrawRing(kHighlightRadius, kHighlightWidth);
                if (m_Dragging)   // the cell as it would be after the placement
                    DrawTokens(static_cast<uint8_t>(tokens + m_DragCount), m_SelTeam);
                else
                    DrawTokens(tokens, m_GameState.GetCellOwner(r, c));
            } else if (tokens != 0) {
                DrawTokens(tokens, m_GameState.GetCellOwner(r, c));
            }
            glPopMatrix();
        }
    }
}

void CGameWorld::DrawStocks()
{
    // While Gold drags, both stocks show what they would hold after the placement.
    const bool dragging = IsGoldDragging();
    uint8_t cellTokens = 0, cellOwner = m_GameState.GetNumTeams();
    if (dragging) {
        cellTokens = m_GameState.GetCellTokens(m_SelRow, m_SelCol);
        cellOwner = m_GameState.GetCellOwner(m_SelRow, m_SelCol);
    }

    uint8_t gold = m_GameState.GetTeamTokens(kGold);
    if (dragging)
        gold = static_cast<uint8_t>(cellOwner == kGold ? gold - m_DragCount
                                                           : gold - (cellTokens + m_DragCount));
    SetWhite();
    glLoadIdentity();
    glTranslatef(kGoldStockX, kGoldStockY, 0.0f);
    DrawTokens(gold, kGold);
    SetGold(m_PassHover ? 1.0f : 0.5f);
    glBindTexture(GL_TEXTURE_2D, 0);
    DrawRing(kStockRingRadius, kStockRingWidth);

    uint8_t silver = m_GameState.GetTeamTokens(kSilver);
    if (dragging && cellOwner == kSilver)
        silver = static_cast<uint8_t>(silver + cellTokens);
    glLoadIdentity();
    glTranslatef(kSilverStockX, kSilverStockY, 0.0f);
    DrawTokens(silver, kSilver);
    SetSilver(0.5f);
    glBindTexture(GL_TEXTURE_2D, 0);
    DrawRing(kStockRingRadius, kStockRingWidth);
}

void CGameWorld::DrawHud()
{
    const bool goldToMove = m_GameState.GetCurTeam() == kGold;
    const bool done = m_GameState.IsGameDone();
    const int gold = m_GameState.GetTeamScore(kGold);
    const int silver = m_GameState.GetTeamScore(kSilver);
    char goldScore[32], silverScore[32];
    snprintf(goldScore, sizeof goldScore, "Score: %d", gold);
    snprintf(silverScore, sizeof silverScore, "Score: %d", silver);

    // The result's offset centres it roughly for the game's font.
    const char* result = gold > silver ? "Gold Wins" : gold < silver ? "Silver Wins" : "Tie";
    const float resultX = gold > silver ? 462.0f : gold < silver ? 452.0f : 497.0f;

    struct Label { bool shown; float x, y; LabelColour colour; const char* text; };
    const Label labels[] = {
        { m_PassHover, 94.0f, 200.0f, LABEL_GOLD, "Pass" },
        { done, resultX, 444.0f, LABEL_WHITE, result },
        { !done, goldToMove ? 10.0f : 944.0f, 688.0f, LABEL_WHITE, "Move" },
        { true, 10.0f, 728.0f, LABEL_WHITE, "Player" },
        { true, 874.0f, 728.0f, LABEL_WHITE, "Opponent" },
        // Under the side that passed last, opposite the turn marker.
        { m_GameState.GetNumPasses() != 0, goldToMove ? 914.0f : 10.0f, 688.0f, LABEL_WHITE, "Passed" },
        { true, 20.0f, 20.0f, LABEL_GOLD, goldScore },
        { true, 874.0f, 20.0f, LABEL_SILVER, silverScore },
    };
    for (const Label& l : labels) {
        if (!l.shown)
            continue;
        glLoadIdentity();
        glTranslatef(l.x, l.y, 0.0f);
        if (l.colour == LABEL_GOLD)
            SetGold(1.0f);
        else if (l.colour == LABEL_SILVER)
            SetSilver(1.0f);
        else
            SetWhite();
        DrawLabel(l.text);
    }
}

void CGameWorld::DrawTokens(uint8_t count, uint8_t team)
{
    SetWhite();
    const CSprite& sprite = CSpriteSheet::GetInstance()->GetSprite(
        team == kGold ? SPRITE_GOLD_TOKEN : SPRITE_SILVER_TOKEN);
    if (count == 1) {
        sprite.Draw();
        return;
    }

    // Spread the inner ring evenly over as many places as it fills.
    const int inner = count < kInnerRingPlaces ? count : kInnerRingPlaces;
    for (int i = 0; i < count; ++i) {
        glPushMatrix();
        if (i < kInnerRingPlaces) {
            glRotatef(static_cast<float>((i * 360) / inner), 0.0f, 0.0f, 1.0f);
            glTranslatef(kInnerRingRadius, 0.0f, 0.0f);
        } else if (i > kInnerRingPlaces) {
            glRotatef(static_cast<float>(i * 40 + 20), 0.0f, 0.0f, 1.0f);
            glTranslatef(kOuterRingRadius, 0.0f, 0.0f);
        }
        sprite.Draw();
        glPopMatrix();
    }
}
