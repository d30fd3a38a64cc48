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

         this [registry] .register (object, id);
         this [interests] .set (id, { callback, weakRef: new WeakRef (object), args });
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
