// Corrections of X_ITE 15.0.1 (pinned by the lockfile), made at run time by the page.
"use strict";

// X_ITE copies an object's whole interest map on every addInterest, so that an event being
// delivered never sees interests added meanwhile. Objects that every piece registers with (the
// browser's content scale, the default texture transform, the shared geometry options, the
// prototypes) gather thousands of interests, and a scene of n pieces costs n² copies; when the
// pieces die, each one scans the whole map again. These replacements keep the same behaviour and
// copy a map only while an event is being delivered from it. They work on X_ITE's own storage,
// found through the library's own methods, and leave X_ITE alone if it is not found.
(() =>
{
   let X3DObject = Object .getPrototypeOf (new X3D .SFBool ());

   while (X3DObject && !Object .hasOwn (X3DObject, "addInterest"))
      X3DObject = Object .getPrototypeOf (X3DObject);

   const sample    = new X3D .SFBool ();
   const ownSymbol = test => Object .getOwnPropertySymbols (sample) .find (symbol => test (sample [symbol]));
   const map       = X3DObject ?.getInterests .call (sample);
   const interests = ownSymbol (value => value === map);

   sample .addInterest ("valueOf", sample);

   const registry = ownSymbol (value => value instanceof FinalizationRegistry);
   const interestId = X3DObject ?.constructor .getInterestId ?.bind (X3DObject .constructor);

   if (!interests || !registry || !interestId)
      return;

   // Maps an event is being delivered from, with how many deliveries are under way.
   const delivering = new WeakMap ();

   Object .defineProperties (X3DObject, {
      addInterest: { value (callbackName, object, ... args)
      {
         const callback = object [callbackName];
         const id       = interestId (callback, object);
         const current  = this [interests];

         if (!current || delivering .has (current))
            this [interests] = new Map (current);

         // Forgets the interest once its object is gone, unless the id went to a new object.
         this [registry] ??= new FinalizationRegistry (id =>
         {
            if (this [interests] ?.get (id) ?.weakRef .deref () === undefined)
               this [interests] ?.delete (id);
         });

         // One registration for each interest, dropped with it: a group takes interests in its
         // children's fields anew whenever its children change (the scene's root nodes at every
         // followed edit), and the registrations of the old ones, kept as long as both objects
         // live, took some 80 KB of every followed edit of a 100-piece scene.
         const previous = this [interests] .get (id);
         const entry    = { callback, weakRef: new WeakRef (object), args };

         if (previous)
            this [registry] .unregister (previous);

         this [registry] .register (object, id, entry);
         this [interests] .set (id, entry);
      } },
      removeInterest: { value (callbackName, object)
      {
         const id    = interestId (object [callbackName], object);
         const entry = this [interests] ?.get (id);

         if (!entry)
            return;

         this [registry] ?.unregister (entry);
         this [interests] .delete (id);
      } },
      processInterests: { value ()
      {
         const current = this [interests];

         if (!current ?.size)
            return;

         delivering .set (current, (delivering .get (current) ?? 0) + 1);

         try
         {
            for (const { callback, weakRef, args } of current .values ())
            {
               const object = weakRef .deref ();

               if (object)
                  callback .call (object, ... args, this);
            }
         }
         finally
         {
            const depth = delivering .get (current) - 1;

            if (depth)
               delivering .set (current, depth);
            else
               delivering .delete (current);
         }
      } },
   });
})();

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
