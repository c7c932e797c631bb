<!DOCTYPE html>
<html>
<head>
<meta charset="utf-8">
<title>Tovali Explorer - Menu</title>
<style>
  body { margin: 0; padding: 8px 6px; background: #fff8e1; font-family: "DejaVu Sans", Arial, sans-serif; }
  h1 { font-size: 20px; margin: 0 0 10px; color: #5d4037; text-align: center; }
  a.site { display: block; margin: 0 0 10px; padding: 10px 6px; border-radius: 12px; color: #fff;
           font-size: 18px; font-weight: bold; text-align: center; text-decoration: none; }
  a.site small { display: block; font-size: 12px; font-weight: normal; }
  a.more { display: block; margin: 14px 0 8px; padding: 8px 6px; border: 3px dashed #8d6e63; border-radius: 12px;
           color: #5d4037; font-size: 16px; text-align: center; text-decoration: none; }
  p.help { font-size: 13px; text-align: center; margin: 12px 0 0; }
  p.help a { color: #5d4037; }
</style>
</head>
<body>
<!-- The rules of each link live in the URL comments below. The program reads them from this
     page when a link is clicked, so they must stay inside the body element. -->
<!--NAVFRAMEWIDTH=180-->

<!-- Link 001, Count the Stars: every page that begins with the game's folder, but not its answers. -->
<!--URL001:AS:http://counting.localhost:8470/kids/counting/-->
<!--URL001:PU:http://counting.localhost:8470/kids/counting/answers.html-->

<!-- Link 002, Animal Friends: the whole animals.localhost domain (www.animals.localhost too),
     but not its toy shop; its advertisement host is refused without a message. -->
<!--URL002:AD:animals.localhost:8470-->
<!--URL002:PS:http://animals.localhost:8470/kids/animals/shop/-->
<!--URL002:SD:ads.localhost:8470-->

<!-- Link 003, Colour Fun: exactly these four pages. Its hidden visitor counter is refused quietly. -->
<!--URL003:AU:http://colours.localhost:8470/kids/colours/-->
<!--URL003:AU:http://colours.localhost:8470/kids/colours/red.html-->
<!--URL003:AU:http://colours.localhost:8470/kids/colours/blue.html-->
<!--URL003:AU:http://colours.localhost:8470/kids/colours/yellow.html-->
<!--URL003:SS:http://colours.localhost:8470/kids/colours/counter-->

<!-- Link 004, Story Time: every host whose name ends in stories.localhost:8470, except the chat host. -->
<!--URL004:AT:stories.localhost:8470-->
<!--URL004:PT:chat.stories.localhost:8470-->

<h1>Let's Play!</h1>

<a class="site" style="background:#f9a825" href="HTTP001://counting.localhost:8470/kids/counting/">Count the Stars<small>a counting game</small></a>
<a class="site" style="background:#43a047" href="HTTP002://animals.localhost:8470/kids/animals/">Animal Friends<small>meet the animals</small></a>
<a class="site" style="background:#e53935" href="HTTP003://colours.localhost:8470/kids/colours/">Colour Fun<small>red, blue, yellow</small></a>
<a class="site" style="background:#1e88e5" href="HTTP004://stories.localhost:8470/kids/stories/">Story Time<small>a bedtime story</small></a>

<a class="more" href="HTTPNAV://127.0.0.1:8470/tovali/v200/group1/farm.php3">On the Farm &rarr;</a>
<a class="more" href="HTTPNAV://MORESITES">More Sites</a>

<p class="help"><a href="http://127.0.0.1:8470/tovali/v200/group1/help.php3">Help</a></p>
</body>
</html>
