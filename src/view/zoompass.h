#pragma once

class SPicView;

// Lays a picture view out at its zoom: the scale the zoom mode gives, the canvas that scale
// needs and the scroll values that keep the same part of the picture in the middle.
class ZoomPass
{
public:
    explicit ZoomPass(SPicView* view);

    // False when the view is out of sight and nothing was laid out.
    bool run();
    // Whether the last pass showed a picture with a zoom to tell.
    bool zoomShown() const { return m_zoomShown; }

private:
    void pass();

    SPicView* m_view;
    bool m_zoomShown = false;
    bool m_inZoom = false;
    bool m_zoomAgain = false;
};
