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
