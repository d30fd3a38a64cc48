// Hosts the X_ITE browser. The program calls modulino.show (text, keepCamera, url),
// modulino.bindViewpoint (index), modulino.probe (), modulino.mark (pieces, current) and
// modulino.frame (); answers go back as console lines "modulino<TAB>json", a click on a piece and
// a finished drag among them.
"use strict";

const modulino = (() =>
{
   const browser = X3D .getBrowser (document .querySelector ("x3d-canvas"));
   let generation = 0;

   function report (kind, data = { })
   {
      console .log ("modulino\t" + JSON .stringify (Object .assign ({ kind }, data)));
   }

   function viewpointNames ()
   {
      const layer = browser .getActiveLayer ();

      if (!layer)
         return { names: [ ], bound: -1 };

      const viewpoints = layer .getUserViewpoints ();

      return {
         names: viewpoints .map (v => v .getDescriptions () .join (" » ")),
         bound: viewpoints .indexOf (layer .getViewpoint ()),
      };
   }

   // The bound viewpoint, where the user moved it, and the navigation type.
   const offsets = ["positionOffset", "orientationOffset", "scaleOffset", "scaleOrientationOffset",
                    "centerOfRotationOffset", "fieldOfViewScale"];

   function saveCamera ()
   {
      const layer     = browser .getActiveLayer ();
      const viewpoint = layer ?.getViewpoint ();

      if (!viewpoint)
         return null;

      const camera = {
         index: layer .getUserViewpoints () .indexOf (viewpoint),
         viewer: browser ._viewer .getValue (),
      };

      for (const name of offsets)
         camera [name] = viewpoint ["_" + name] .copy ();

      return camera;
   }

   async function restoreCamera (camera)
   {
      const layer     = browser .getActiveLayer ();
      const viewpoint = layer ?.getUserViewpoints () [camera ?.index];

      if (!viewpoint)
         return;

      if (viewpoint !== layer .getViewpoint ())
      {
         // Bound as the file's own events bind: a jump, and the user's offsets are set after it.
         viewpoint ._set_bind = true;
         await browser .nextFrame ();
      }

      for (const name of offsets)
         viewpoint ["_" + name] = camera [name];

      browser ._viewer = camera .viewer;
   }

   // A piece line as the editor writes it; every other line belongs to the head.
   const number      = "[-+]?(?:\\d+\\.?\\d*|\\.\\d+)(?:[eE][-+]?\\d+)?";
   const triple      = `(${number} ${number} ${number})`;
   const piecePattern = new RegExp (`^Dilek \\{ velikost ${triple} poloha ${triple} tvar ("[^"\\\\]*") povrch ${triple} ovltransp (${number}) \\}$`);

   // The world last built from a whole file: its head text and its piece lines.
   let shownWorld = null;

   // The file's text as its head and the piece lines that end it.
   function splitPieces (text)
   {
      const lines = text .split (/\r\n|\r|\n/);
      let end = lines .length;

      while (end > 0 && lines [end - 1] === "")
         -- end;

      let start = end;

      while (start > 0 && piecePattern .test (lines [start - 1]))
         -- start;

      return {
         head: lines .slice (0, start) .join ("\n") + "\n" + (lines .length - end),
         headText: lines .slice (0, start) .join ("\n"),
         lines: lines .slice (start, end),
      };
   }

   function isPiece (node)
   {
      return standIns .has (node) || (node ?.getType () .includes (X3D .X3DConstants .X3DPrototypeInstance) && node .getTypeName () === "Dilek");
   }

   // A piece of the world as an instance or as the record of its stand-in.
   function asPiece (node)
   {
      return standIns .get (node) ?? (isPiece (node) ? node : null);
   }

   // A piece the user has not dragged in the view still shows its line as the file says.
   function undisturbed (node)
   {
      // A stand-in, or its record, has no manipulators to move it.
      if (standIns .has (node) || node ?.kind)
         return true;

      if (!isPiece (node))
         return false;

      for (const name of ["POSx", "POSy", "POSz"])
      {
         const transform = node .getBody () .getNamedNodes () .get (name) ?.getValue ();

         if (!transform || !transform ._translation .getValue () .equals (X3D .Vector3 .ZERO))
            return false;
      }

      return true;
   }

   // A Dilek instance made from the world's own prototype, its fields read as the parser reads them.
   function createPiece (scene, line)
   {
      const [, velikost, poloha, tvar, povrch, ovltransp] = piecePattern .exec (line);
      const node = scene .createProto ("Dilek", false);

      for (const [name, value] of Object .entries ({ velikost, poloha, tvar, povrch, ovltransp }))
         node .getField (name) .fromString (value, scene);

      node .setup ();

      return node;
   }

   // The shown world's pieces, its last root nodes, when it has the head of split and every
   // one of its piece lines is a piece; null otherwise.
   function shownPiecesFor (split)
   {
      const world = shownWorld;

      if (!world || world .scene !== browser .currentScene || world .head !== split .head)
         return null;

      const roots = world .scene .getRootNodes ();
      const first = roots .length - world .lines .length;

      if (first < 0)
         return null;

      const nodes = Array .from (world .lines, (line, i) => roots [first + i] ?.getValue ());

      return nodes .every (isPiece) ? nodes : null;
   }

   // When only piece lines changed since the world was built, replaces just the pieces that
   // differ; X_ITE spends most of a load making the pieces from their prototype.
   function updatePieces (split)
   {
      const world  = shownWorld;
      const pieces = shownPiecesFor (split);

      if (!pieces)
         return false;

      const roots  = world .scene .getRootNodes ();
      const before = world .lines;
      const after  = split .lines;
      const first  = roots .length - before .length;

      let kept = 0;

      while (kept < before .length && kept < after .length && before [kept] === after [kept] && undisturbed (pieces [kept]))
         ++ kept;

      let keptAtEnd = 0;

      while (keptAtEnd < before .length - kept && keptAtEnd < after .length - kept &&
             before [before .length - 1 - keptAtEnd] === after [after .length - 1 - keptAtEnd] &&
             undisturbed (pieces [before .length - 1 - keptAtEnd]))
      {
         ++ keptAtEnd;
      }

      // Making most pieces anew costs more than loading the file anew. In a world of stand-ins a
      // changed piece is a stand-in when its kind is known and an instance otherwise, which costs
      // as much as eight stand-ins: making them all anew is cheaper then.
      const changed = Math .max (before .length, after .length) - kept - keptAtEnd;

      if (changed > kept + keptAtEnd || (pieceMaker ?.substituted && 8 * changed > after .length))
         return false;

      const maker   = pieceMaker ?.scene === world .scene ? pieceMaker : null;
      const added   = after .slice (kept, after .length - keptAtEnd) .map (line =>
         maker ?.canMake (line) ? maker .make (line) : createPiece (world .scene, line));
      const removed = pieces .slice (kept, before .length - keptAtEnd);

      roots .splice (first + kept, before .length - kept - keptAtEnd, ... added);
      world .lines = after;

      retirePieces (removed);

      return true;
   }

   // A piece taken out of the world stays live: its sensors stay registered with the browser, which
   // keeps the whole piece in memory, some megabytes for every followed edit. Disposing of it
   // takes it out of every list of the browser. The world takes its new root nodes first: a node
   // disposed of is also taken out of the world's copy of them, which would then miss the pieces
   // that took its place. Stand-ins have no sensors; disposing of one costs a pass over the root
   // nodes, seconds for a new scene of a thousand.
   function retirePieces (nodes)
   {
      browser [Symbol .for ("X_ITE.X3DRoutingContext.processEvents")] ?.();

      for (const node of nodes)
      {
         if (!standIns .delete (node))
            node .dispose ();
      }
   }

   // A replaced piece leaves WebGL buffers behind that only the garbage collector frees, and it
   // does not count them: without a collection now and then every followed edit adds megabytes.
   // Chromium runs with --js-flags=--expose-gc. A full collection costs about a millisecond a
   // piece, so it waits for two quiet seconds; in a small world it also follows every twentieth
   // update in a row.
   const collection = { timer: 0, updates: 0 };

   function collectGarbageSoon (pieces)
   {
      if (typeof gc !== "function")
         return;

      clearTimeout (collection .timer);

      if (++ collection .updates >= 20 && pieces <= 200)
      {
         collection .updates = 0;
         gc ();
      }
      else
      {
         collection .timer = setTimeout (() => { collection .updates = 0; gc (); }, 2000);
      }
   }

   // Stand-ins: a big scene's pieces drawn by plain nodes instead of prototype instances, which
   // X_ITE makes some fifty nodes each. Pieces whose lines differ only in fields that reach
   // nothing but fields of drawn nodes (in the built-in libraries poloha, velikost and povrch)
   // look alike but for those fields: one instance is made for each kind as it is shown, its
   // drawn tree copied with the line's values put where its fields lead, and what no field
   // reaches shared among all copies of that kind. A stand-in becomes an instance again as soon
   // as the pointer goes down on its manipulators, so dragging works as before. A library whose
   // pieces draw anything else (a switch, a light, a texture, a script among the drawn nodes) or
   // send a field to a script, a sensor or a route keeps its instances.

   const standIns  = new WeakMap (); // the stand-in's top node → its record
   const drawnTypes = new Set (["Transform", "Group", "Shape", "Appearance", "Material"]);
   const lineFields = ["velikost", "poloha", "tvar", "povrch", "ovltransp"];

   function lineValues (line)
   {
      const [, velikost, poloha, tvar, povrch, ovltransp] = piecePattern .exec (line);

      return { velikost, poloha, tvar, povrch, ovltransp };
   }

   function isInstance (node)
   {
      return node ?.getType () .includes (X3D .X3DConstants .X3DPrototypeInstance);
   }

   function isGeometry (node)
   {
      return node .getType () .includes (X3D .X3DConstants .X3DGeometryNode);
   }

   // Not drawn: left out of a stand-in.
   function isUndrawn (node)
   {
      const types = node .getType ();

      return types .includes (X3D .X3DConstants .X3DSensorNode) || types .includes (X3D .X3DConstants .X3DScriptNode);
   }

   // The fields of the drawn nodes (through nested instances) that the piece's field feeds, or
   // null when it also feeds anything else.
   function drawnSinks (field, sinks = [ ])
   {
      for (const sink of field .getFieldInterests ())
      {
         const node = [... sink .getParents ()] [0];

         if (isInstance (node))
         {
            if (!drawnSinks (sink, sinks))
               return null;

            continue;
         }

         if (!node || !drawnTypes .has (node .getTypeName ()) || sink .getInputRoutes () .size || sink .getOutputRoutes () .size)
            return null;

         sinks .push (sink);
      }

      return sinks;
   }

   // The piece's line field a field of its body takes its value from, if any.
   function lineFieldOf (field, instance)
   {
      for (const reference of field .getReferences ())
      {
         if (reference .getParents () .has (instance))
            return reference .getName ();

         const name = lineFieldOf (reference, instance);

         if (name)
            return name;
      }

      return null;
   }

   class Unsupported extends Error { }

   // The shapes of the subtrees that stand-ins share: their manipulators.
   const sharedShapes = new WeakSet ();

   function collectShapes (node)
   {
      if (node .getTypeName () === "Shape")
         sharedShapes .add (node);

      for (const child of node ._children ?? [ ])
         collectShapes (nodeOf (child));
   }

   // A node field's value inside X_ITE is a node or an SFNode.
   function nodeOf (value)
   {
      return Array .isArray (value ?.getType ?.()) ? value : value ?.getValue ?.() ?? null;
   }

   // The drawn tree of a piece instance as a recipe: what varies with the line (nodes whose
   // fields take a substituted line field, the named nodes the view looks up, and those above
   // them) is made anew for each stand-in, the rest is one shared copy.
   function recipeOf (node, instance, substituted, names)
   {
      if (isInstance (node))
         return recipeOf (node .getInnerNode (), instance, substituted, names);

      if (isUndrawn (node))
         return null;

      if (isGeometry (node))
      {
         for (const field of node .getPredefinedFields ())
         {
            if (substituted .has (lineFieldOf (field, instance)))
               throw new Unsupported ();
         }

         return { shared: node };
      }

      if (!drawnTypes .has (node .getTypeName ()))
         throw new Unsupported ();

      const recipe = { node, values: [ ], nodes: [ ], name: names .get (node) };

      for (const field of node .getPredefinedFields ())
      {
         const type = field .getType ();

         if (!field .isInitializable ())
            continue;

         if (type === X3D .X3DConstants .SFNode || type === X3D .X3DConstants .MFNode)
         {
            if (field .getName () === "metadata")
               continue;

            const values = type === X3D .X3DConstants .SFNode ? [field .getValue ()] : Array .from (field);
            const parts  = values .map (nodeOf) .filter (Boolean)
               .map (child => recipeOf (child, instance, substituted, names)) .filter (Boolean);

            recipe .nodes .push ({ name: field .getName (), parts });
         }
         else
         {
            const from = lineFieldOf (field, instance);

            recipe .values .push ({ name: field .getName (), field, from: substituted .has (from) ? from : null });
         }
      }

      const varies = recipe .name || recipe .values .some (value => value .from) ||
         recipe .nodes .some (({ parts }) => parts .some (part => !part .shared));

      if (varies)
         return mergedTransforms (recipe);

      const shared = build (recipe, null, null);

      collectShapes (shared);

      return { shared };
   }

   const placing = new Set (["translation", "rotation", "scale", "scaleOrientation", "center"]);

   // A Transform that only places its children, with none of the line's values; plain is one
   // with every field as by default.
   function isFixedTransform (recipe, plain)
   {
      if (recipe .node ?.getTypeName () !== "Transform" || recipe .name || recipe .values .some (value => value .from))
         return false;

      return recipe .values .every (({ name, field }) => placing .has (name) || field .equals (plain .getField (name)));
   }

   // Each stand-in copies the Transforms down to its named nodes; a fixed Transform whose only
   // child is another one is made one Transform with both matrices, fewer nodes for each copy.
   function mergedTransforms (recipe)
   {
      const children = recipe .nodes .find (({ name }) => name === "children") ?.parts;
      const child    = children ?.length === 1 ? children [0] : null;
      const plain    = browser .currentScene .createNode ("Transform", false);

      if (!child || child .shared || !isFixedTransform (recipe, plain) || !isFixedTransform (child, plain))
         return recipe;

      const matrix      = matrixOf (recipe) .copy () .multLeft (matrixOf (child));
      const translation = new X3D .Vector3 ();
      const rotation    = new X3D .Rotation4 ();
      const scale       = new X3D .Vector3 ();
      const orientation = new X3D .Rotation4 ();

      matrix .get (translation, rotation, scale, orientation);

      const values = [["translation", new X3D .SFVec3f (... translation)], ["rotation", new X3D .SFRotation (... rotation)],
                      ["scale", new X3D .SFVec3f (... scale)], ["scaleOrientation", new X3D .SFRotation (... orientation)]];

      return { node: recipe .node, matrix, nodes: child .nodes, values: values .map (([name, field]) => ({ name, field, from: null })) };
   }

   function matrixOf (recipe)
   {
      return recipe .matrix ?? recipe .node .getMatrix ();
   }

   // The nodes of a recipe with the line's values; null values make the shared copy.
   function build (recipe, values, record)
   {
      if (recipe .shared)
         return recipe .shared;

      const scene = browser .currentScene;
      const copy  = scene .createNode (recipe .node .getTypeName (), false);

      for (const { name, field, from } of recipe .values)
      {
         if (from && values)
            copy .getField (name) .fromString (values [from], scene);
         else if (!field .equals (copy .getField (name)))
            copy .getField (name) .assign (field);
      }

      for (const { name, parts } of recipe .nodes)
      {
         const nodes = parts .map (part => build (part, values, record));
         const field = copy .getField (name);

         if (field .getType () === X3D .X3DConstants .SFNode)
            field .setValue (nodes [0] ?? null);
         else
            field .setValue (nodes);
      }

      copy .setup ();

      if (recipe .name && record)
         record .named .set (recipe .name, copy);

      return copy;
   }

   // What a stand-in answers in place of an instance: its named nodes, its line's fields.
   function standInRecord (line, instance)
   {
      const fields = new Map ();

      return {
         line,
         kind: instance, // the instance it copies
         named: new Map (),
         top: null,
         getBody () { return this; },
         getTypeName () { return "Dilek"; },
         getRootNodes () { return [{ getValue: () => this .top }]; },
         getNamedNode (name)
         {
            const node = this .named .get (name);

            if (!node)
               throw new Error (`Unknown named node '${name}'.`);

            return { getValue: () => node };
         },
         getField (name)
         {
            if (!fields .has (name))
            {
               const field = instance .getField (name) .create ();

               field .fromString (lineValues (line) [name], browser .currentScene);
               fields .set (name, field);
            }

            return fields .get (name);
         },
      };
   }

   // Makes the pieces of one world, as stand-ins where the library allows.
   class PieceMaker
   {
      constructor (scene)
      {
         this .scene       = scene;
         this .substituted = null; // line fields put into stand-ins; null: instances only
         this .kinds       = new Map (); // the other line fields' values → { instance, recipe }
         this .fresh       = null;       // instances for kinds whose scripts have yet to run
      }

      // Scripts of new instances run in the next event cycles.
      async settle (instances)
      {
         for (let frame = 0; frame < 10; ++ frame)
         {
            await browser .nextFrame ();

            const scripts = instances .flatMap (instance => scriptsOf (instance));

            if (frame >= 1 && scripts .every (script => script .checkLoadState () === X3D .X3DConstants .COMPLETE_STATE))
               break;
         }
      }

      // Decides which line fields stand-ins take, from the fields of the first piece's instance,
      // which then stands for its kind.
      start (first)
      {
         if (!first)
            return;

         const instance = createPiece (this .scene, first);

         this .substituted = new Set (lineFields .filter (name => drawnSinks (instance .getField (name)) ?.length));
         this .fresh       = new Map ([[this .kindOf (first), instance]]);
      }

      kindOf (line)
      {
         const values = lineValues (line);

         return lineFields .filter (name => !this .substituted .has (name)) .map (name => values [name]) .join ("\t");
      }

      kind (instance)
      {
         const names = new Map ();

         // The named nodes the view looks up in a piece.
         for (const name of ["DILEK", "TVAR"])
            names .set (instance .getBody () .getNamedNode (name) .getValue (), name);

         return { instance, recipe: recipeOf (instance .getInnerNode (), instance, this .substituted, names) };
      }

      // Makes the instances of the kinds these lines need first; none at all when the library's
      // pieces must stay instances.
      async prepare (lines)
      {
         if (!this .substituted)
            return;

         const fresh = this .fresh ?? new Map ();

         this .fresh = null;

         for (const line of lines)
         {
            const key = this .kindOf (line);

            if (!this .kinds .has (key) && !fresh .has (key))
               fresh .set (key, createPiece (this .scene, line));
         }

         if (!fresh .size)
            return;

         await this .settle ([... fresh .values ()]);

         try
         {
            const kinds = [... fresh] .map (([key, instance]) => [key, this .kind (instance)]);

            for (const [key, kind] of kinds)
               this .kinds .set (key, kind);
         }
         catch (error)
         {
            if (!(error instanceof Unsupported))
               console .warn ("stand-ins:", error);

            // The pieces still to make are instances; the stand-ins made so far keep their kinds.
            this .substituted = null;

            for (const instance of fresh .values ())
               instance .dispose ();
         }
      }

      // Whether a stand-in of this line can be made at once, its kind known.
      canMake (line)
      {
         return this .substituted !== null && this .kinds .has (this .kindOf (line));
      }

      make (line)
      {
         if (!this .substituted)
            return createPiece (this .scene, line);

         const { instance, recipe } = this .kinds .get (this .kindOf (line));
         const record = standInRecord (line, instance);

         record .top = build (recipe, lineValues (line), record);
         standIns .set (record .top, record);

         return record .top;
      }

      // Disposes of the kinds these lines do not need.
      forget (lines)
      {
         const needed = new Set (lines .map (line => this .kindOf (line)));

         for (const [key, { instance }] of this .kinds)
         {
            if (!needed .has (key))
            {
               instance .dispose ();
               this .kinds .delete (key);
            }
         }
      }

      dispose ()
      {
         const instances = [... this .kinds .values ()] .map (kind => kind .instance);

         for (const instance of instances .concat ([... this .fresh ?.values () ?? [ ]]))
            instance .dispose ();

         this .kinds .clear ();
         this .fresh = null;
      }
   }

   function scriptsOf (instance)
   {
      const scripts = [ ];

      for (const root of instance .getBody () .getRootNodes ())
      {
         const node = root ?.getValue ();

         if (node ?.getType () .includes (X3D .X3DConstants .X3DScriptNode))
            scripts .push (node);
      }

      for (const named of instance .getBody () .getNamedNodes ())
      {
         const node = named .getValue ();

         if (isInstance (node))
            scripts .push (... scriptsOf (node));
      }

      return scripts;
   }

   // The stand-in whose manipulator is under the pointer becomes an instance again, so that its
   // sensors take the press. The hit shape is shared by all stand-ins of a kind; the one it
   // belongs to is the one that puts the shape where the hit found it. Stand-ins that put it in
   // the same place all become instances: an instance's shape may lie a rounding error behind
   // theirs, and the pass would find a stand-in again.
   function becomeInstance (hit)
   {
      const shape = hit .shapeNode;

      if (!hit .id || !sharedShapes .has (shape))
         return false;

      const model  = hit .modelViewMatrix .copy () .multRight (hit .viewMatrix .copy () .inverse ());
      const origin = model .multVecMatrix (new X3D .Vector3 (0, 0, 0));
      const roots  = browser .currentScene .getRootNodes ();
      const near   = [ ];

      for (let i = 0; i < roots .length; ++ i)
      {
         const record = standIns .get (roots [i] ?.getValue ());
         const path   = record && pathTo ([{ getValue: () => record .top }], shape, X3D .Matrix4 .IDENTITY .copy ());

         if (path)
            near .push ({ distance: path .multVecMatrix (new X3D .Vector3 (0, 0, 0)) .distance (origin), index: i, record });
      }

      const best = Math .min (... near .map (({ distance }) => distance));

      if (!(best <= 1e-3 * Math .max (1, origin .norm ())))
         return false;

      for (const { distance, index, record } of near)
      {
         if (distance <= best + 1e-6 * Math .max (1, origin .norm ()))
            roots [index] = instanceFor (record);
      }

      // The world takes its new children when events are processed, and X_ITE's own pass for
      // this press comes before the next frame.
      browser [Symbol .for ("X_ITE.X3DRoutingContext.processEvents")] ?.();

      return true;
   }

   // An instance in place of a stand-in.
   function instanceFor (record)
   {
      const instance = createPiece (browser .currentScene, record .line);
      const tvar     = record .named .get ("TVAR");

      // Its script gives the shape its geometry a moment later; until then it shows the same.
      if (tvar)
         instance .getBody () .getNamedNode ("TVAR") .getValue () ._geometry = tvar ._geometry;

      standIns .delete (record .top);

      return instance;
   }

   // A scene of more pieces than this grows on the screen: its head is loaded first, then its
   // pieces are made in batches, each drawn before the next is made, so that the window shows the
   // first pieces at once, answers input meanwhile and a newer file can take over. Its pieces are
   // stand-ins where the library allows.
   const progressiveFrom = 50;

   // Whether the head defines the pieces' prototype, from which the page can make them.
   function definesPieces (split)
   {
      return /PROTO\s+Dilek\b/ .test (split .headText);
   }

   // The maker of the shown world's pieces; its instances stand for the stand-ins' kinds.
   let pieceMaker = null;

   // Adds the pieces to the shown scene; false when a newer file took over meanwhile.
   async function addPieces (scene, lines, current)
   {
      const roots = scene .getRootNodes ();
      let made = 0, frame = 0;

      if (pieceMaker ?.scene !== scene)
      {
         pieceMaker ?.dispose ();
         pieceMaker = new PieceMaker (scene);
         pieceMaker .start (lines [0]);
      }

      const maker = pieceMaker;

      while (made < lines .length)
      {
         // Each batch takes at least four times as long as drawing the scene did, so that
         // making the pieces takes most of the time.
         const start = performance .now ();
         const batch = [ ];

         await maker .prepare (lines .slice (made, made + 200));

         if (current !== generation)
            return false;

         while (made < lines .length && (batch .length < 5 || performance .now () - start < Math .max (300, 4 * frame)))
            batch .push (maker .make (lines [made ++]));

         roots .push (... batch);
         report ("progress", { made, total: lines .length });

         const drawing = performance .now ();

         await browser .nextFrame ();

         if (current !== generation)
            return false;

         frame = performance .now () - drawing;
      }

      return true;
   }

   // When most pieces changed but the library did not (another scene in the same file), the
   // loaded library and the kinds of stand-ins made for the last scene stay: only the pieces
   // are made anew, as they would be in a whole load. Disposing of many instances costs more
   // than loading the library anew.
   function canRefill (split, url)
   {
      const world = shownWorld;
      const kinds = pieceMaker ?.scene === world ?.scene && pieceMaker .substituted;

      return world ?.url === url && split .lines .length > progressiveFrom && definesPieces (split) &&
         (kinds || world .lines .length <= progressiveFrom) && shownPiecesFor (split) !== null;
   }

   async function refillPieces (split, current)
   {
      const world  = shownWorld;
      const roots  = world .scene .getRootNodes ();
      const pieces = shownPiecesFor (split);

      shownWorld = null;
      roots .length -= pieces .length;
      retirePieces (pieces);

      if (pieceMaker ?.scene === world .scene && pieceMaker .substituted)
         pieceMaker .forget (split .lines);

      return await addPieces (world .scene, split .lines, current);
   }

   async function show (text, keepCamera, url)
   {
      const current = ++ generation;

      try
      {
         const camera  = keepCamera ? saveCamera () : null;
         const timings = { start: performance .now () };
         const split   = splitPieces (text);
         let standInsDrawn = false; // pieces made by stand-ins, drawn with the last batch

         if (updatePieces (split))
         {
            timings .parsed = timings .replaced = performance .now ();
         }
         else if (keepCamera && canRefill (split, url))
         {
            if (!await refillPieces (split, current))
               return;

            standInsDrawn = pieceMaker .substituted !== null;
            timings .parsed = timings .start;
            timings .replaced = performance .now ();
            shownWorld = { scene: browser .currentScene, head: split .head, lines: split .lines, url };
         }
         else
         {
            const small = shownWorld ?.lines .length <= progressiveFrom;

            shownWorld = null;
            browser .baseURL = url;
            pieceMaker ?.dispose ();
            pieceMaker = null;

            // A big old world out first, so that both never fill the memory together.
            if (!small && browser .currentScene .getRootNodes () .length)
            {
               await browser .replaceWorld (null);

               if (current !== generation)
                  return;
            }

            const progressive = split .lines .length > progressiveFrom && definesPieces (split);
            const scene       = await browser .createX3DFromString (progressive ? split .headText : text);

            if (current !== generation)
               return;

            timings .parsed = performance .now ();
            await browser .replaceWorld (scene);
            await restoreCamera (camera);

            if (progressive && !await addPieces (browser .currentScene, split .lines, current))
               return;

            standInsDrawn = progressive && pieceMaker .substituted !== null;
            timings .replaced = performance .now ();
            shownWorld = { scene: browser .currentScene, head: split .head, lines: split .lines, url };
         }

         collectGarbageSoon (split .lines .length);

         // Scripts run their initialize () in the first event cycles of the new world; those of
         // the stand-ins' kinds ran before the stand-ins were made.
         if (!standInsDrawn)
         {
            await browser .nextFrame ();
            await browser .nextFrame ();
         }

         timings .drawn = performance .now ();

         if (current === generation)
         {
            mark (selection .pieces, selection .current);
            report ("shown", Object .assign (viewpointNames (), {
               milliseconds: [timings .parsed - timings .start, timings .replaced - timings .parsed,
                              timings .drawn - timings .replaced] .map (Math .round),
               heapMegabytes: Math .round ((performance .memory ?.usedJSHeapSize ?? 0) / 1e6),
            }));
         }
      }
      catch (error)
      {
         shownWorld = null;

         if (current === generation)
            report ("failed", { message: String (error .message ?? error) });
      }
   }

   function bindViewpoint (index)
   {
      const layer     = browser .getActiveLayer ();
      const viewpoint = layer ?.getUserViewpoints () [index];

      if (viewpoint)
         browser .bindViewpoint (layer, viewpoint);
   }

   // The live link with the editor that writes the file: its selected pieces outlined, the camera
   // turned to it, and a click or a drag on a piece reported back. The outlines are a root node of
   // its own before the pieces, so the pieces stay as the file makes them.

   let selection = { pieces: [ ], current: 0 };
   let outline   = null;

   // Piece number n (counted from 1) of the shown world.
   function pieceNumbered (n)
   {
      return shownPieces () [n - 1] ?? null;
   }

   // The pieces of the shown world in file order; they are root nodes.
   function shownPieces ()
   {
      return Array .from (browser .currentScene .getRootNodes (), field => asPiece (field ?.getValue ())) .filter (Boolean);
   }

   // The piece's body in scene coordinates; pieces are root nodes.
   function pieceBox (instance)
   {
      const body  = instance .getBody ();
      const dilek = body .getNamedNode ("DILEK") .getValue ();
      const path  = pathTo (body .getRootNodes (), dilek, X3D .Matrix4 .IDENTITY .copy ());

      return dilek .getBBox (new X3D .Box3 ()) .multRight (path);
   }

   // Twelve edges of the unit cube about the origin, drawn in a colour no piece is made of.
   function createOutlineShape (scene, colour)
   {
      const shape      = scene .createNode ("Shape");
      const lines      = scene .createNode ("IndexedLineSet");
      const coordinate = scene .createNode ("Coordinate");
      const appearance = scene .createNode ("Appearance");
      const material   = scene .createNode ("Material");
      const corners    = [[-1, -1, -1], [1, -1, -1], [1, 1, -1], [-1, 1, -1],
                          [-1, -1, 1], [1, -1, 1], [1, 1, 1], [-1, 1, 1]];

      coordinate .point = new X3D .MFVec3f (... corners .map (c => new X3D .SFVec3f (... c .map (n => n / 2))));
      lines .coordIndex = new X3D .MFInt32 (0, 1, 2, 3, 0, -1, 4, 5, 6, 7, 4, -1, 0, 4, -1, 1, 5, -1, 2, 6, -1, 3, 7, -1);
      lines .coord      = coordinate;
      material .diffuseColor  = new X3D .SFColor (0, 0, 0);
      material .emissiveColor = new X3D .SFColor (... colour);
      appearance .material    = material;
      shape .appearance       = appearance;
      shape .geometry         = lines;
      shape .pointerEvents    = false; // a click on the outline is a click on what lies behind

      return shape;
   }

   // The outlines live in one group, a root node before the pieces: the current piece's in
   // magenta, those of the other selected pieces in orange.
   function createOutline (scene)
   {
      const group = scene .createNode ("Group");

      scene .getRootNodes () .splice (0, 0, group .getValue ());

      return { scene, group, current: createOutlineShape (scene, [1, 0, 0.8]),
               other: createOutlineShape (scene, [1, 0.55, 0]) };
   }

   // Puts an outline around every selected piece, a little larger than its body.
   function placeOutline ()
   {
      const scene = browser .currentScene;

      if (outline ?.scene !== scene)
         outline = createOutline (scene);

      const wanted     = new Set (selection .pieces);
      const transforms = [ ];
      let count        = 0;

      wanted .add (selection .current);

      for (const field of scene .getRootNodes ())
      {
         const node = field ?.getValue ();

         if (!isPiece (node) || !wanted .has (++ count))
            continue;

         const box       = pieceBox (asPiece (node));
         const size      = box .size;
         const margin    = 0.04 + 0.02 * Math .max (size .x, size .y, size .z);
         const transform = scene .createNode ("Transform");

         transform .translation = new X3D .SFVec3f (box .center .x, box .center .y, box .center .z);
         transform .scale       = new X3D .SFVec3f (size .x + margin, size .y + margin, size .z + margin);
         transform .children    = new X3D .MFNode (count === selection .current ? outline .current : outline .other);
         transforms .push (transform);
      }

      outline .group .children = new X3D .MFNode (... transforms);
   }

   function mark (pieces, current)
   {
      selection = { pieces, current };

      try
      {
         placeOutline ();
         report ("marked", { current });
      }
      catch (error)
      {
         console .warn ("outline:", error);
      }
   }

   // Turns the camera to the current piece.
   function frame ()
   {
      const layer     = browser .getActiveLayer ();
      const viewpoint = layer ?.getViewpoint ();
      const instance  = pieceNumbered (selection .current);

      if (viewpoint && instance)
         viewpoint .lookAtBBox (layer, pieceBox (instance), 1, 2 - 1.618034, false);
   }

   // What the last pointer pass found: a piece's body, another part of a piece (its manipulators),
   // or nothing.
   function pieceHit (hit)
   {
      if (!hit .id)
         return null;

      const shape = hit .shapeNode;
      const index = shownPieces () .findIndex (node => node .getBody () .getNamedNode ("TVAR") .getValue () === shape);

      return index >= 0 ? { piece: index + 1, body: true } : { piece: 0, body: false };
   }

   // What the pointer is on at the given place of the view.
   function pieceUnder ({ x, y })
   {
      return browser .touch (x, y) ? pieceHit (browser .getHit ()) : null;
   }

   // A pointer pass goes over the whole world, a tenth of a second at 1,000 pieces, and X_ITE makes
   // one itself for every press (its mousedown follows the pointerdown): the press takes what that
   // pass found at its place instead of making a pass of its own.
   function followPointerPasses (press)
   {
      const touch = browser .touch;

      browser .touch = function (x, y, hit = this .getHit (), ... rest)
      {
         const result = touch .call (this, x, y, hit, ... rest);
         const waiting = press ();

         if (!waiting || waiting .on !== undefined || hit !== this .getHit () || Math .hypot (x - waiting .at .x, y - waiting .at .y) > 1)
            return result;

         waiting .on = result ? pieceHit (hit) : null;

         return result;
      };
   }

   // How far the manipulators moved the piece from the place its line gives it, in scene units.
   function displacement (instance)
   {
      const body   = instance .getBody ();
      const dilek  = body .getNamedNode ("DILEK") .getValue ();
      const path   = pathTo (body .getRootNodes (), dilek, X3D .Matrix4 .IDENTITY .copy ());
      const origin = path .multVecMatrix (new X3D .Vector3 (0, 0, 0));

      return origin .subtract (instance .getField ("poloha") .getValue ());
   }

   // Every piece the manipulators moved since it was made is reported once per place.
   const dragsReported = new WeakMap ();

   function reportDrags ()
   {
      shownPieces () .forEach ((node, index) =>
      {
         if (undisturbed (node))
            return;

         const move = displacement (node);
         const key  = move .toString ();

         if (move .norm () < 1e-4 || dragsReported .get (node) === key)
            return;

         dragsReported .set (node, key);
         report ("dragged", { piece: index + 1, move: [move .x, move .y, move .z] });
      });
   }

   // A click is a press and a release without moving; a press on a manipulator that moved is a drag.
   function followPointer (canvas)
   {
      let press = null;

      followPointerPasses (() => press);

      canvas .addEventListener ("pointerdown", event =>
      {
         // What is under the pointer comes with X_ITE's own pass for this press.
         press = event .button === 0 ? { x: event .clientX, y: event .clientY, at: browser .getPointerFromEvent (event), on: undefined } : null;

         // Stand-ins have no sensors: one whose manipulator is pressed becomes an instance before
         // X_ITE's own pass, which then finds the sensors.
         if (press && pieceMaker ?.substituted)
         {
            press .on = pieceUnder (press .at);

            if (press .on && !press .on .body)
               becomeInstance (browser .getHit ());
         }
      },
      true);

      // X_ITE's pass for the last move found what the pointer is over: a stand-in's manipulator
      // becomes an instance, whose sensors the next move finds, as X_ITE shows them.
      canvas .addEventListener ("pointermove", event =>
      {
         if (!event .buttons && pieceMaker ?.substituted)
            becomeInstance (browser .getHit ());
      },
      true);

      canvas .addEventListener ("pointerup", async event =>
      {
         const pressed = press;

         press = null;

         // X_ITE made no pass for the press (a world without pointing sensors, Shift+Ctrl).
         if (pressed && pressed .on === undefined)
            pressed .on = pieceUnder (pressed .at);

         if (!pressed ?.on || event .button !== 0)
            return;

         const moved = Math .hypot (event .clientX - pressed .x, event .clientY - pressed .y) > 2;

         if (!moved && pressed .on .body)
            report ("picked", { piece: pressed .on .piece, ctrl: event .ctrlKey });
         else if (moved && !pressed .on .body)
         {
            // X_ITE ends the drag in its mouseup, which follows this pointerup in the same task;
            // the manipulators have moved the piece by then, without waiting for a frame.
            await new Promise (resolve => setTimeout (resolve));
            reportDrags ();
         }
      },
      true);

      window .addEventListener ("keydown", event =>
      {
         if (event .key .toLowerCase () === "f" && !event .ctrlKey && !event .altKey && !event .metaKey)
            frame ();
      },
      true);
   }

   followPointer (document .querySelector ("x3d-canvas"));

   // The matrix from the coordinates in which target lies to those of nodes.
   function pathTo (nodes, target, matrix)
   {
      for (const field of nodes)
      {
         const node = field ?.getValue ();

         if (!node)
            continue;

         const children = node ._children;

         if (!children || node === target)
            continue;

         const inner = node .getMatrix ? matrix .copy () .multLeft (node .getMatrix ()) : matrix;

         for (const child of children)
         {
            if (child ?.getValue () === target)
               return inner;
         }

         const found = pathTo (children, target, inner);

         if (found)
            return found;
      }

      return null;
   }

   // Every Dilek instance of the world with the matrix from its coordinates to the scene's.
   function pieceInstances (nodes, modelMatrix, found = [ ])
   {
      for (const field of nodes)
      {
         const node = field ?.getValue ();

         if (!node)
            continue;

         if (standIns .has (node))
         {
            found .push ({ instance: standIns .get (node), matrix: modelMatrix });
         }
         else if (node .getType () .includes (X3D .X3DConstants .X3DPrototypeInstance))
         {
            if (node .getTypeName () === "Dilek")
               found .push ({ instance: node, matrix: modelMatrix });
         }
         else if (node ._children)
         {
            const matrix = node .getMatrix ? modelMatrix .copy () .multLeft (node .getMatrix ()) : modelMatrix;

            pieceInstances (node ._children, matrix, found);
         }
      }

      return found;
   }

   // The body of each Dilek piece in scene coordinates, and its geometry's type.
   function probe ()
   {
      const lines = [ ];

      function pieceLine (instance, modelMatrix)
      {
         const body     = instance .getBody ();
         const dilek    = body .getNamedNode ("DILEK") .getValue ();
         const geometry = body .getNamedNode ("TVAR") .getValue () ._geometry .getValue ();
         const tvar     = instance .getField ("tvar") .getValue ();
         const path     = pathTo (body .getRootNodes (), dilek, X3D .Matrix4 .IDENTITY .copy ());
         const bbox     = dilek .getBBox (new X3D .Box3 ()) .multRight (path .multRight (modelMatrix));
         const min      = new X3D .Vector3 ();
         const max      = new X3D .Vector3 ();

         bbox .getExtents (min, max);

         const numbers = [min .x, min .y, min .z, max .x, max .y, max .z] .map (n => n .toFixed (3) .replace (/^-(0\.0+)$/, "$1"));

         lines .push ([lines .length + 1, tvar, geometry ?.getTypeName () ?? "", ... numbers] .join ("\t"));
      }

      try
      {
         for (const { instance, matrix } of pieceInstances (browser .currentScene .getRootNodes (), X3D .Matrix4 .IDENTITY .copy ()))
            pieceLine (instance, matrix);

         report ("probed", { lines });
      }
      catch (error)
      {
         report ("failed", { message: String (error .message ?? error) });
      }
   }

   // Whether each patch of X_ITE (patches/x_ite) is in place, as a fact it makes observable in
   // the shown world, whose first two pieces have manipulators.
   function patches ()
   {
      const sphere = index =>
      {
         const ball = shownPieces () [index] .getBody () .getNamedNode ("K0") .getValue ();

         return ball .getBody () .getRootNodes () [0] .getValue () ._children [0] .getValue () ._geometry .getValue ();
      };

      const facts = {
         "01-shared-primitive-geometry": () => sphere (0) !== sphere (1) && sphere (0) .getVertices () === sphere (1) .getVertices (),
         "02-light-weak-sets": () => /#one\b/ .test (X3D .IterableWeakSet .toString ()),
         "03-field-accessors-on-prototypes": () =>
         {
            const transform = sphere (0) .getExecutionContext () .getRootNodes () [0] .getValue ();

            return transform ._translation && !Object .hasOwn (transform, "_translation");
         },
         "04-light-interests": () =>
         {
            const field = new X3D .SFBool ();

            field .addInterest ("valueOf", field);

            return field .getInterests () .size === 1 &&
               !Object .getOwnPropertySymbols (field) .some (symbol => field [symbol] instanceof FinalizationRegistry);
         },
         "05-child-object-accessors-on-prototypes": () =>
         {
            const transform = sphere (0) .getExecutionContext () .getRootNodes () [0] .getValue ();

            return transform ._rebuild && !Object .hasOwn (transform, "_rebuild") && !Object .hasOwn (transform, "getLive");
         },
      };

      const lines = Object .entries (facts) .map (([name, fact]) =>
      {
         try { return name + "\t" + (fact () ? "applied" : "missing"); }
         catch { return name + "\tmissing"; }
      });

      report ("probed", { lines });
   }

   return { show, bindViewpoint, probe, patches, mark, frame, reportDrags, pieceInstances, pathTo };
})();
