#pragma once

// What the menubar's buttons ask of the game world.
class CMenubarActions {
public:
    virtual ~CMenubarActions() = default;
    // Button 0: back to the main menu (saving the current profile's progress).
    virtual void OnMenuButton() = 0;
    // Button 1: the zoom request.
    virtual void OnZoomButton() = 0;
    // Button 3: the scene's tutorial step.
    virtual void OnTutorialButton() = 0;
};
