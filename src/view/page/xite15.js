// Corrections of X_ITE 15.0.1 (pinned by the lockfile), made at run time by the page.
"use strict";

// X_ITE keeps spent events in a pool for reuse, each still holding its field and the fields it
// passed; those fields hold their nodes, and through them a replaced world stays in memory with
// all its pieces. Three loads of 1,000 pieces ran the page out of memory.
(() =>
{
   const pool = X3D .Events;
   const push = pool ?.push;

   if (typeof pool ?.create !== "function" || typeof push !== "function")
      return;

   Object .defineProperty (pool, "push", { value (... events)
   {
      for (const event of events)
      {
         event .field = null;
         event .clear ();
      }

      return push .apply (this, events);
   } });
})();

// A press or a hover finds what is under the pointer by drawing every shape in view into a buffer
// of one pixel: at 1,000 pieces some 6,000 shapes, spheres and cones among them, a tenth of a second
// for every press. A surface whose bounding sphere the pointer's ray misses cannot cover that
// pixel, so it is left out; the sphere is taken generously (the largest stretch of the shape's
// matrix) and widened by two pixels, for the pixel's rounding. Points, lines, instanced and
// skinned shapes are drawn as before.
(() =>
{
   const layer = X3D .X3DLayerNode ?.prototype;
   const add   = layer ?.addPointingShape;

   if (typeof add !== "function" || typeof layer .getHitRay !== "function")
      return;

   const center = new X3D .Vector3 ();
   const offset = new X3D .Vector3 ();

   function missesRay (renderObject, shapeNode)
   {
      // The ray is made for the layer's own viewport, not for a Viewport node within it.
      if (shapeNode .getShapeKey () !== 0 || renderObject .hAnimNode ?.at (-1) || renderObject .getViewVolumes () .length !== 1 ||
          shapeNode .getGeometryContext () .geometryType < 2)
      {
         return false;
      }

      const m = renderObject .getModelViewMatrix () .get ();
      const p = renderObject .getProjectionMatrix () .get ();
      const v = renderObject .getViewVolume () .getViewport ();

      const stretch = Math .sqrt (m [0] * m [0] + m [1] * m [1] + m [2] * m [2] + m [4] * m [4] + m [5] * m [5] +
                                  m [6] * m [6] + m [8] * m [8] + m [9] * m [9] + m [10] * m [10]);
      const radius  = shapeNode .getBBoxSize () .norm () / 2 * stretch;

      m .multVecMatrix (center .assign (shapeNode .getBBoxCenter ()));

      // Clip w of the sphere's nearest and farthest depth: the size of a pixel there.
      const near = p [11] * (center .z + radius) + p [15];
      const far  = p [11] * (center .z - radius) + p [15];

      if (!(near > 0 && far > 0))
         return false;

      const pixel = 2 * Math .max (near, far) * Math .max (1 / Math .abs (p [0] * v [2]), 1 / Math .abs (p [5] * v [3]));
      const ray   = renderObject .getHitRay ();

      offset .assign (center) .subtract (ray .point);

      const along    = offset .dot (ray .direction) / ray .direction .norm ();
      const distance = Math .sqrt (Math .max (0, offset .dot (offset) - along * along));

      return distance > radius + 2 * pixel;
   }

   Object .defineProperty (layer, "addPointingShape", { value (shapeNode)
   {
      if (missesRay (this, shapeNode))
         return false;

      return add .call (this, shapeNode);
   }, writable: true, configurable: true });
})();
