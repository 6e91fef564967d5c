#ifndef VESK_WORLD_CGAMEWORLD_H
#define VESK_WORLD_CGAMEWORLD_H

#include "game/CGameState.h"
#include "graphics/CVector2.h"
#include <SDL.h>
#include <cstdint>

class CGameEngine;
class CTextureFont;

// The game as the player meets it: the menu and game screens, the turns
// between Gold (the player) and Silver (the opponent), input and drawing.
class CGameWorld
{
public:
    enum { MODE_MENU = 0, MODE_GAME = 1 };

    explicit CGameWorld(CGameEngine* engine);
    ~CGameWorld();
    CGameWorld(const CGameWorld&) = delete;
    CGameWorld& operator=(const CGameWorld&) = delete;

    // Called by the engine
    void Reset();
    void OnKey(SDLKey sym, SDLMod mod, bool pressed);
    void OnMouseMove(Uint16 x, Uint16 y);
    void OnMouseButton(Uint8 button, bool pressed, Uint16 x, Uint16 y);
    void Update(Uint32 elapsedMs);
    void Draw();

    void StartGame(int searchDepth, int evalNoise);
    void DrawTokens(uint8_t count, uint8_t team);

    // Read access for tests and tools
    const CGameState& GetState() const { return m_GameState; }
    int      GetMode() const { return m_Mode; }
    int      GetMenuHover() const { return m_MenuHover; }
    uint32_t GetDelay() const { return m_Delay; }
    uint8_t  GetDragCount() const { return m_DragCount; }
    uint8_t  GetSelRow() const { return m_SelRow; }
    uint8_t  GetSelCol() const { return m_SelCol; }
    uint8_t  GetSelTeam() const { return m_SelTeam; }
    bool     IsDragging() const { return m_Dragging; }
    bool     IsPassHover() const { return m_PassHover; }

    // For tests and tools: play on from a prepared position of the same board.
    // Any drag and highlight end; the screen and the pause stay as they are.
    void SetState(const CGameState& state);

    // Screen layout shared by picking and drawing, in drawing units (y up)
    CVector2 GetBoardOrigin() const;
    CVector2 GetCellCenter(uint32_t row, uint32_t col) const;
    static CVector2 ToDrawing(Uint16 x, Uint16 y);

private:
    // Input on each screen
    void OnMenuMove(const CVector2& p);
    void OnMenuButton(const CVector2& p);
    void OnGameMove(const CVector2& p);
    void OnGameButton(Uint8 button, bool pressed, const CVector2& p);
    void RefreshPassHover(const CVector2& p);
    void UpdateDragCount(const CVector2& p);
    bool PickCell(const CVector2& p, uint32_t& row, uint32_t& col) const;
    void GoldPasses();
    void ClearSelection();   // no highlighted cell, no drag

    // Turns
    void PlayOpponentTurn();

    // Drawing
    void DrawMenu();
    void DrawGame();
    void DrawBoard();
    void DrawStocks();
    void DrawHud();
    void DrawLabel(const char* text);
    bool IsGoldDragging() const;

    CGameEngine*  m_GameEngine;
    uint32_t      m_Delay;
    CGameState    m_GameState;
    uint8_t       m_DragCount;
    uint8_t       m_SelRow;
    uint8_t       m_SelCol;
    uint8_t       m_SelTeam;
    bool          m_Dragging;
    bool          m_PassHover;
    int           m_Mode;
    int           m_MenuHover;
    CTextureFont* m_Font;
    bool          m_FontFetched;
};

#endif
